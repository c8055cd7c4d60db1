// The shared profile cases against the engine on this platform.
#include "conformance/profile_runner.h"

namespace corvane::conformance {
namespace {

class ProfileConformance : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileConformance, Engine) {
  const ProfileCase& c = GetParam();
  ExpectProfileOutcome(c, RunProfileCase(c, EngineApi{}, "engine"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileConformance, ::testing::ValuesIn(ProfileCases()), CaseName);

}  // namespace
}  // namespace corvane::conformance
