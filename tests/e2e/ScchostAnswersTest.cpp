// scchost's options that answer the provider's dialogs: what it refuses before loading
// the provider. (That the answers reach a dialog is shown with the login command.)
#include "tests/e2e/BuildProducts.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::HasSubstr;

namespace {

TEST(ScchostAnswers, OptionsAreCheckedAndListed) {
    testing_support::IsolatedUser user; // scchost's provider loads and saves settings
    testing_support::TempDir dir("answers");
    testing_support::WriteFile(dir / "pw", "secret\r\nsecond line\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"--password", "pw", "--yes", "--answer", "login=ok", "version"}, 0, ""},
        {{"--password-file=" + (dir / "pw"), "--no", "--ui", "headless", "version"}, 0, ""},
        {{"--password-file", dir / "missing", "version"}, 1, "cannot read the password file"},
        {{"--yes", "--no", "version"}, 1, "--yes and --no exclude each other"},
        {{"--answer", "no-equals", "version"}, 1, "--answer needs NAME=VALUE"},
        {{"--answer", "bad name=x", "version"}, 1, "letters, digits and _"},
        {{"--ui", "windows", "version"}, 0, ""},
        {{"--ui", "window", "version"}, 1, "--ui takes windows, terminal, headless or auto"},
        {{"--password"}, 1, "--password needs a value"},
    };
    for (const Case& c : cases) {
        testing_support::RunResult run = e2e::RunScchost(c.args);
        EXPECT_EQ(run.status, c.status) << c.args[0] << ": " << run.err;
        if (!c.err.empty()) {
            EXPECT_THAT(run.err, HasSubstr(c.err)) << c.args[0];
        }
    }
    testing_support::RunResult help = e2e::RunScchost({"--help"});
    for (const char* option : {"--password PASSWORD", "--password-file FILE", "--yes, --no",
                               "--answer NAME=VALUE", "--ui HOST"})
        EXPECT_THAT(help.out, HasSubstr(option));
}

} // namespace
