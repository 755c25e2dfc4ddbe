#include "foundation/log.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

TEST(Log, Placeholder) { SUCCEED(); }
