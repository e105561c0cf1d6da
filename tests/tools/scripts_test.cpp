// The helper scripts behind make's targets, where they must fail: the fuzz
// runner when a fuzzer fails, the package installer when it cannot install.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/tools/tool_process.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = VERRINE_SOURCE_DIR;

// --- tools/run-fuzzers.sh ----------------------------------------------------

struct StandInFuzzers {
    const char* name;
    const char* shaderSource;  // the body of each stand-in fuzzer's script
    const char* rawImage;
    int status;
    const char* report;  // what the output must hold; "" for nothing
};

void PrintTo(const StandInFuzzers& fuzzers, std::ostream* out) { *out << fuzzers.name; }

class FuzzRunner : public testing::TestWithParam<StandInFuzzers> {};

// The runner finds the fuzzers by the names of the corpus folders, so
// stand-ins with those names take their place.
TEST_P(FuzzRunner, ExitsWithTheFuzzersVerdict) {
    const StandInFuzzers& fuzzers = GetParam();
    ScratchFolder folder;
    // The other fuzzers find nothing.
    for (auto [name, body] : {std::pair{"shader_source", fuzzers.shaderSource}, {"raw_image", fuzzers.rawImage},
                              {"driver_log", "echo Done 10 runs"}, {"png_reader", "echo Done 10 runs"}}) {
        const fs::path script = folder.write(std::string(name) + "_fuzzer", std::string("#!/bin/sh\n") + body + "\n");
        fs::permissions(script, fs::perms::owner_exec, fs::perm_options::add);
    }
    const ProcessResult run = runProgram({kSourceDir / "tools/run-fuzzers.sh", folder.path(), "1"}, kSourceDir);
    EXPECT_EQ(run.status, fuzzers.status) << run.out << run.err;
    EXPECT_NE((run.out + run.err).find(fuzzers.report), std::string::npos) << run.out << run.err;
}

const StandInFuzzers kStandIns[] = {
    {"BothFindNothing", "echo Done 10 runs", "echo Done 10 runs", 0, "Done 10 runs"},
    {"OneExitsWithOne", "echo Done 10 runs", "echo '==1==ERROR: deadly signal'; exit 1", 1,
     "==1==ERROR: deadly signal\nverrine: the raw_image fuzzer found a failure (status 1)"},
    {"OneIsKilled", "kill -SEGV $$", "echo Done 10 runs", 1, "the shader_source fuzzer found a failure"},
};

INSTANTIATE_TEST_SUITE_P(Scripts, FuzzRunner, testing::ValuesIn(kStandIns),
                         [](const testing::TestParamInfo<StandInFuzzers>& info) { return info.param.name; });

// --- tools/install-deps.sh ---------------------------------------------------

const char kAbsentPackage[] = "verrine-no-such-package";

// The installer may say what went wrong in one line naming the packages,
// nothing more, and must not succeed.
void expectOneLineNamingThePackage(const ProcessResult& run) {
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_EQ(countOccurrences(run.err, "\n"), 1) << run.err;
    EXPECT_NE(run.err.find("verrine: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(kAbsentPackage), std::string::npos) << run.err;
}

// A user who is not root: root drops to nobody, with a copy of the script
// nobody can read (a checkout under /root is closed to it).
TEST(PackageInstaller, NamesTheMissingPackagesToOneWhoIsNotRoot) {
    ScratchFolder folder;
    fs::permissions(folder.path(), fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    const fs::path script = folder / "install-deps.sh";
    fs::copy_file(kSourceDir / "tools/install-deps.sh", script);
    fs::permissions(script, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    std::vector<std::string> command = {script, kAbsentPackage};
    if (geteuid() == 0) {
        command.insert(command.begin(), {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    }
    const ProcessResult run = runProgram(command);
    expectOneLineNamingThePackage(run);
    EXPECT_NE(run.err.find("run as root"), std::string::npos) << run.err;
}

// apt's mirror out of reach: apt reads a configuration of the test's own
// that sends it through a proxy nobody listens at, and keeps its lists,
// cache and package database (a copy; its lock with it) in a scratch folder,
// so neither this machine's apt nor anyone installing meanwhile is touched.
TEST(PackageInstaller, NamesTheMissingPackagesWhenTheMirrorIsOutOfReach) {
    if (geteuid() != 0) GTEST_SKIP() << "only root gets as far as apt";
    ScratchFolder folder;
    for (const char* dir : {"lists/partial", "cache/archives/partial", "dpkg"}) {
        fs::create_directories(folder.path() / dir);
    }
    fs::copy_file("/var/lib/dpkg/status", folder / "dpkg/status");
    const std::string config = folder.write(
        "apt.conf", "Acquire::http::Proxy \"http://127.0.0.1:9\";\nAcquire::Retries \"0\";\n"
                    "Dir::State::Lists \"" + folder / "lists" + "\";\nDir::Cache \"" + folder / "cache" +
                    "\";\nDir::State::status \"" + folder / "dpkg/status" + "\";\n");
    const ProcessResult run = runProgram({kSourceDir / "tools/install-deps.sh", kAbsentPackage}, "",
                                         {"APT_CONFIG=" + config, "TMPDIR=" + folder.path().string()});
    expectOneLineNamingThePackage(run);
    EXPECT_NE(run.err.find("127.0.0.1:9"), std::string::npos) << "the reason should be the mirror: " << run.err;
}

}  // namespace
