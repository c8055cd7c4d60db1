// The memory a parsed document takes, counted by replacing the global allocation functions of
// this test executable: a pathological file must cost a small multiple of its size.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "storage/profile.h"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<size_t> g_live{0};
std::atomic<size_t> g_peak{0};

// Each block carries its size in front of it, so delete knows what it frees.
constexpr size_t kHeader = alignof(std::max_align_t);

void* Allocate(size_t size) {
  void* block = std::malloc(size + kHeader);
  if (!block) throw std::bad_alloc();
  *static_cast<size_t*>(block) = size;
  if (g_counting) {
    const size_t live = g_live += size;
    size_t peak = g_peak;
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
  }
  return static_cast<char*>(block) + kHeader;
}

void Free(void* p) {
  if (!p) return;
  void* block = static_cast<char*>(p) - kHeader;
  const size_t size = *static_cast<size_t*>(block);
  if (g_counting && g_live >= size) g_live -= size;
  std::free(block);
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, size_t) noexcept { Free(p); }
void operator delete[](void* p, size_t) noexcept { Free(p); }

namespace corvane::profile {
namespace {

// Peak bytes allocated while parsing bytes and reading one key, beyond bytes itself.
size_t PeakWhileParsing(const std::string& bytes) {
  g_live = 0;
  g_peak = 0;
  g_counting = true;
  {
    const Document d = Document::Parse(bytes);
    EXPECT_EQ(7, d.GetInt(u"Hardware", u"Buttons", 7));
  }
  g_counting = false;
  return g_peak;
}

std::string Repeat(const std::string& line, size_t bytes) {
  std::string text;
  text.reserve(bytes + line.size());
  while (text.size() < bytes) text += line;
  return text;
}

TEST(ProfileMemory, PathologicalFilesCostASmallMultipleOfTheirSize) {
  constexpr size_t kSize = 1 << 20;
  for (const char* line : {"[]\r\n", "[]\n", "\n", "[A]\n", "x\n"}) {
    const std::string bytes = Repeat(line, kSize);
    const size_t peak = PeakWhileParsing(bytes);
    // The copy of the bytes the document keeps, and at most eight bytes a line more or less.
    EXPECT_LE(peak, 12 * bytes.size()) << "lines of \"" << line << "\": " << peak << " bytes";
  }
}

}  // namespace
}  // namespace corvane::profile
