// A scripted HidPlatform: a set of interfaces with identifiers, capabilities and failures to
// inject, that records every open and every report and keeps count of what is still held, so a
// test can prove that nothing leaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/hid_platform.h"
#include "device/sleeper.h"
#include "model/records.h"

namespace corvane::fakes {

struct FakeHidInterface {
  std::u16string Path;
  uint16_t VendorId = 0;
  uint16_t ProductId = 0;
  uint16_t VersionNumber = 0x0100;
  uint16_t UsagePage = 0x0001;
  uint16_t Usage = 0x0002;
  uint16_t InputReportByteLength = 8;
  uint16_t OutputReportByteLength = 0;
  uint16_t FeatureReportByteLength = 0;

  // Failures to inject.
  bool FailOpen = false;           // every Open
  bool FailReadWriteOpen = false;  // only Open with read or write access
  bool FailPreparsed = false;
  bool FailAttributes = false;
  bool FailCaps = false;
  bool FailReports = false;  // reports beyond the script below
  // Results of the reports sent to this interface, in order, through any handle.
  std::vector<bool> ReportResults;
  // What LastError tells after a failed open or report of this interface.
  HidError OpenError{5, true, u"Access is denied."};
  HidError ReportError{31, false, u"A device attached to the system is not functioning."};
};

struct FakeOpen {
  std::u16string Path;
  bool Read = false;
  bool Write = false;
  HidHandle Handle = kInvalidHidHandle;  // invalid when the open failed
};

struct FakeReport {
  std::u16string Path;  // of the interface the handle was opened on; empty for a bad handle
  HidHandle Handle = kInvalidHidHandle;
  std::vector<uint8_t> Bytes;
  bool Result = false;
};

class FakeHidPlatform : public HidPlatform {
 public:
  std::vector<FakeHidInterface> Interfaces;
  bool FailEnumerate = false;

  FakeHidInterface& Add(std::u16string path, uint16_t vendorId, uint16_t productId,
                        uint16_t outputLength = 0) {
    FakeHidInterface& i = Interfaces.emplace_back();
    i.Path = std::move(path);
    i.VendorId = vendorId;
    i.ProductId = productId;
    i.OutputReportByteLength = outputLength;
    return i;
  }
  // A path as Windows names an interface: \\?\hid#vid_3a7c&pid_0007&mi_01#7&1a2b&0&0000#{...}
  static std::u16string InterfacePath(uint16_t vendorId, uint16_t productId, int collection) {
    static const char kDigits[] = "0123456789abcdef";
    auto hex4 = [](uint16_t v) {
      std::u16string t(4, u'0');
      for (int i = 3; i >= 0; --i, v >>= 4) t[i] = static_cast<char16_t>(kDigits[v & 0xF]);
      return t;
    };
    return u"\\\\?\\hid#vid_" + hex4(vendorId) + u"&pid_" + hex4(productId) + u"&mi_0" +
           static_cast<char16_t>(u'0' + collection % 10) +
           u"#7&1a2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  }
  // The mouse as Windows shows it: an input-only interface, then the one that takes the
  // configuration (8-byte output reports). Returns the latter.
  FakeHidInterface& AddMouse(uint16_t vendorId = kSupportedVendorId,
                             uint16_t productId = kSupportedProductId) {
    Add(InterfacePath(vendorId, productId, 0), vendorId, productId, 0);
    return Add(InterfacePath(vendorId, productId, 1), vendorId, productId, 8);
  }
  void RemoveMouse(uint16_t vendorId = kSupportedVendorId,
                   uint16_t productId = kSupportedProductId) {
    Remove(InterfacePath(vendorId, productId, 0));
    Remove(InterfacePath(vendorId, productId, 1));
  }

  FakeHidInterface* Find(const std::u16string& path) {
    for (FakeHidInterface& i : Interfaces)
      if (i.Path == path) return &i;
    return nullptr;
  }
  // Unplugs an interface: it is no longer enumerated and its open handles stop working.
  void Remove(const std::u16string& path) {
    for (auto it = Interfaces.begin(); it != Interfaces.end(); ++it) {
      if (it->Path == path) {
        Interfaces.erase(it);
        return;
      }
    }
  }

  // What was done.
  std::vector<FakeOpen> Opens;      // every Open call, failed ones included
  std::vector<FakeReport> Reports;  // every SetOutputReport call
  int Enumerations = 0;
  int Misuses = 0;  // calls with a closed or unknown handle or preparsed data, double frees

  // What is still held.
  size_t OpenHandles() const {
    size_t n = 0;
    for (const auto& h : Handles_) n += h.second.Open ? 1 : 0;
    return n;
  }
  size_t LivePreparsedData() const { return Preparsed_.size(); }
  bool HandleIsOpen(HidHandle handle) const {
    auto it = Handles_.find(handle);
    return it != Handles_.end() && it->second.Open;
  }
  // The Open call that produced a handle.
  const FakeOpen* OpenOf(HidHandle handle) const {
    for (const FakeOpen& o : Opens)
      if (o.Handle == handle && handle != kInvalidHidHandle) return &o;
    return nullptr;
  }
  // Forgets the reports sent so far and starts every interface's ReportResults script over.
  void ClearReports() {
    Reports.clear();
    SentTo_.clear();
  }
  std::vector<std::vector<uint8_t>> ReportBytes() const {
    std::vector<std::vector<uint8_t>> all;
    for (const FakeReport& r : Reports) all.push_back(r.Bytes);
    return all;
  }

  // HidPlatform
  bool EnumerateInterfaces(std::vector<std::u16string>& paths) override {
    ++Enumerations;
    paths.clear();
    if (FailEnumerate) return false;
    for (const FakeHidInterface& i : Interfaces) paths.push_back(i.Path);
    return true;
  }

  HidHandle Open(const std::u16string& path, bool read, bool write) override {
    FakeOpen& o = Opens.emplace_back();
    o.Path = path;
    o.Read = read;
    o.Write = write;
    const FakeHidInterface* i = Find(path);
    if (!i) {
      LastError_ = HidError{2, false, u"The system cannot find the file specified."};
      return kInvalidHidHandle;
    }
    if (i->FailOpen || ((read || write) && i->FailReadWriteOpen)) {
      LastError_ = i->OpenError;
      return kInvalidHidHandle;
    }
    o.Handle = NextHandle_;
    NextHandle_ += 4;  // like kernel handles; never reused
    Handles_[o.Handle] = HandleState{path, true};
    return o.Handle;
  }

  void Close(HidHandle handle) override {
    auto it = Handles_.find(handle);
    if (it == Handles_.end() || !it->second.Open) {
      ++Misuses;
      return;
    }
    it->second.Open = false;
  }

  HidPreparsedData GetPreparsedData(HidHandle handle) override {
    const FakeHidInterface* i = InterfaceOf(handle);
    if (!i || i->FailPreparsed) return nullptr;
    // An address that is never dereferenced: a token to recognise when it comes back.
    const std::uintptr_t token = NextPreparsed_;
    NextPreparsed_ += 16;
    HidPreparsedData data = reinterpret_cast<HidPreparsedData>(token);
    Preparsed_[data] = i->Path;
    return data;
  }

  void FreePreparsedData(HidPreparsedData data) override {
    if (Preparsed_.erase(data) == 0) ++Misuses;
  }

  std::optional<HidAttributes> GetAttributes(HidHandle handle) override {
    const FakeHidInterface* i = InterfaceOf(handle);
    if (!i || i->FailAttributes) return std::nullopt;
    return HidAttributes{i->VendorId, i->ProductId, i->VersionNumber};
  }

  std::optional<HidCaps> GetCaps(HidPreparsedData data) override {
    auto it = Preparsed_.find(data);
    if (it == Preparsed_.end()) {
      ++Misuses;
      return std::nullopt;
    }
    const FakeHidInterface* i = Find(it->second);
    if (!i || i->FailCaps) return std::nullopt;
    HidCaps caps;
    caps.Usage = i->Usage;
    caps.UsagePage = i->UsagePage;
    caps.InputReportByteLength = i->InputReportByteLength;
    caps.OutputReportByteLength = i->OutputReportByteLength;
    caps.FeatureReportByteLength = i->FeatureReportByteLength;
    return caps;
  }

  bool SetOutputReport(HidHandle handle, const uint8_t* report, size_t length) override {
    FakeReport& r = Reports.emplace_back();
    r.Handle = handle;
    r.Bytes.assign(report, report + length);
    FakeHidInterface* i = InterfaceOf(handle);
    if (!i) {
      // A handle whose interface has been unplugged, as the system says it.
      LastError_ = HidError{1167, false, u"The device is not connected."};
      return r.Result = false;
    }
    r.Path = i->Path;
    size_t& sent = SentTo_[i->Path];
    r.Result = sent < i->ReportResults.size() ? bool(i->ReportResults[sent]) : !i->FailReports;
    ++sent;
    if (!r.Result) LastError_ = i->ReportError;
    return r.Result;
  }

  HidError LastError() const override { return LastError_; }

 private:
  struct HandleState {
    std::u16string Path;
    bool Open = false;
  };

  FakeHidInterface* InterfaceOf(HidHandle handle) {
    auto it = Handles_.find(handle);
    if (it == Handles_.end() || !it->second.Open) {
      ++Misuses;
      return nullptr;
    }
    return Find(it->second.Path);
  }

  HidError LastError_;
  HidHandle NextHandle_ = 0x100;
  std::uintptr_t NextPreparsed_ = 0x10000;
  std::map<HidHandle, HandleState> Handles_;
  std::map<HidPreparsedData, std::u16string> Preparsed_;
  std::map<std::u16string, size_t> SentTo_;
};

// A sleeper that only records, and keeps count of the precise runs it was asked for.
struct RecordingSleeper : Sleeper {
  std::vector<uint32_t> Pauses;
  std::vector<uint32_t> PrecisePausesTaken;  // the pauses asked for inside a precise run
  int PreciseDepth = 0;
  int PreciseRuns = 0;
  void Sleep(uint32_t ms) override {
    Pauses.push_back(ms);
    if (PreciseDepth > 0) PrecisePausesTaken.push_back(ms);
  }
  void BeginPrecise() override {
    ++PreciseDepth;
    ++PreciseRuns;
  }
  void EndPrecise() override { --PreciseDepth; }
};

}  // namespace corvane::fakes
