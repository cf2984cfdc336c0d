#include <gtest/gtest.h>

#include "ProductIdentity.h"
#include "cli/ExitCodes.h"
#include "offline/OfflineFixture.h"

namespace lsu::test {

// A rescue system's user asks which tool is at hand before pointing it at a volume.
TEST(OfflineToolVersion, NamesTheBuildWithoutAVolume) {
    const ProcessResult result = runProcess({LSU_CLI_PATH, "--version"});
    EXPECT_EQ(result.code, cli::kExitOk);
    EXPECT_EQ(result.out, "lstartup-cli " LSU_VERSION_TEXT "\n");
}

}  // namespace lsu::test
