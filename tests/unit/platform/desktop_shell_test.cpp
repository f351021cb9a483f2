// DesktopShell: what is opened, and failure on something no handler can open.
#include <gtest/gtest.h>

#include "platform/DesktopShell.h"

using namespace platform;

TEST(DesktopShell, UrisPassThroughAndPathsBecomeFileUris) {
    EXPECT_EQ(UriForOpen("https://example.invalid/a?b"), "https://example.invalid/a?b");
    EXPECT_EQ(UriForOpen("/tmp/some file.txt"), "file:///tmp/some%20file.txt");
    EXPECT_EQ(UriForOpen("C:\\x").rfind("file://", 0), 0u);  // a drive letter is not a scheme
    EXPECT_EQ(UriForOpen(""), "");
}

TEST(DesktopShell, UnknownSchemeFails) {
    EXPECT_FALSE(OpenWithDefaultHandler("oakridge-no-such-scheme-x9://nothing"));
    EXPECT_FALSE(OpenWithDefaultHandler(""));
}
