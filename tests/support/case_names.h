#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kalvian::test {

// A parameterised test's name as ctest lists it and `ctest -R` picks it: letters and digits, every run of
// other bytes turned into one "_".
inline std::string caseName(std::string_view text) {
    std::string name;
    for (const char ch : text) {
        const bool plain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        if (plain) {
            name += ch;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name.empty() ? "_" : name;
}

// Names cases by their `name` member.
struct ByCaseName {
    template <class Case> std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return caseName(info.param.name);
    }
};

// Names cases by their `file` member.
struct ByCaseFile {
    template <class Case> std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return caseName(info.param.file);
    }
};

// Names cases that print themselves (PrintTo) by that text, then their number, which keeps apart two cases
// that read alike once reduced to letters and digits.
struct ByPrintedCase {
    template <class Case> std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return caseName(::testing::PrintToString(info.param)) + "_" + std::to_string(info.index);
    }
};

} // namespace kalvian::test
