// tests/support/CvsMethods.h - parameterised tests that run against each way of reaching a
// repository:
//
//     INSTANTIATE_TEST_SUITE_P(Methods, Suite, testing_support::AllCvsMethods(),
//                              testing_support::CvsMethodParamName);
#pragma once

#include "tests/support/CvsFixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

inline auto AllCvsMethods() {
    return testing::Values(CvsMethod::Local, CvsMethod::Fork, CvsMethod::Pserver);
}

inline std::string CvsMethodParamName(const testing::TestParamInfo<CvsMethod>& info) {
    return CvsMethodName(info.param);
}

} // namespace testing_support
