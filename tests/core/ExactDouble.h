#pragma once

#include <bit>
#include <cstdint>
#include <gtest/gtest.h>

// Doubles are compared bit for bit: the last bit of every result is part of the behaviour.
inline ::testing::AssertionResult SameDouble(const char* actualExpr, const char* expectedExpr, double actual,
                                             double expected)
{
    if (std::bit_cast<std::uint64_t>(actual) == std::bit_cast<std::uint64_t>(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << actualExpr << " is " << ::testing::PrintToString(actual) << " (bits 0x" << std::hex
        << std::bit_cast<std::uint64_t>(actual) << "), expected " << expectedExpr << " = "
        << ::testing::PrintToString(expected) << " (bits 0x" << std::bit_cast<std::uint64_t>(expected) << ")";
}

#define EXPECT_SAME_DOUBLE(actual, expected) EXPECT_PRED_FORMAT2(SameDouble, actual, expected)
