// A file operation's result as a test assertion, so that a failure prints the model's own message.
#pragma once

#include "gem/file_error.h"

#include <gtest/gtest.h>

inline ::testing::AssertionResult Done(const FileResult& result) {
    if (result) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "failed: " << result.Error().Message;
}
