#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "payload/PatchBlockData.h"
#include "payload/PatchBlockEditor.h"
#include "PackTestKit.h"
#include "tools/ovrapack/cli/Commands.h"
#include "tools/ovrapack/io/FileBytes.h"

namespace fs = std::filesystem;

namespace {

class OvrapackPatchCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / (std::string("ovrapack-patch-") +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        std::vector<uint8_t> image(300, 0x90);
        for (size_t i = 0; i < PatchLayout::kSize; ++i)
            image.push_back(static_cast<uint8_t>(g_sfxPatchBlock[i]));
        image.resize(image.size() + 50, 0x90);
        m_stub = m_dir / "stub.exe";
        std::string error;
        ASSERT_TRUE(FileBytes::WriteAtomically(m_stub, image, error)) << error;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    int Run(const char* command, std::vector<std::string> args)
    {
        args.insert(args.begin(), command);
        const PackTestKit::SToolRun run = PackTestKit::RunTool(args);
        m_out.str(run.strOut);
        m_err.str(run.strErr);
        return run.nExit;
    }

    fs::path m_dir;
    fs::path m_stub;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(OvrapackPatchCommand, PatchThenInfoShowsEveryField)
{
    ASSERT_EQ(Run("patch", {m_stub.string(), "--build-id", "20191102234416024", "--setup", "setup",
                                    "--stream-offset", "0x3D3898", "--required-bytes", "1116818585",
                                    "--picture-offset", "3534848"}),
              ExitCodes::kOk)
        << m_err.str();
    ASSERT_EQ(Run("info", {m_stub.string()}), ExitCodes::kOk) << m_err.str();
    const std::string info = m_out.str();
    EXPECT_NE(info.find("patch block at file offset 0x12c"), std::string::npos) << info;
    EXPECT_NE(info.find("\"20191102234416024\""), std::string::npos);
    EXPECT_NE(info.find("stream offset:  4012184"), std::string::npos);
    EXPECT_NE(info.find("required bytes: 1116818585"), std::string::npos);
    EXPECT_NE(info.find("picture offset: 3534848"), std::string::npos);
}

TEST_F(OvrapackPatchCommand, BadValuesChangeNothing)
{
    std::vector<uint8_t> before;
    std::string error;
    ASSERT_TRUE(FileBytes::Read(m_stub, before, error));
    for (const auto& args : std::vector<std::vector<std::string>>{
             {m_stub.string(), "--stream-offset", "4294967296"},
             {m_stub.string(), "--required-bytes", "-1"},
             {m_stub.string(), "--picture-offset", "12x"},
             {m_stub.string(), "--setup", "much-too-long.exe"},
             {m_stub.string(), "--setup", "ok", "--build-id", "123456789012345678"},
             {m_stub.string(), "--colour", "red"},
             {m_stub.string(), "--setup"}}) {
        EXPECT_NE(Run("patch", args), ExitCodes::kOk) << args[1];
        EXPECT_FALSE(m_err.str().empty());
    }
    std::vector<uint8_t> after;
    ASSERT_TRUE(FileBytes::Read(m_stub, after, error));
    EXPECT_EQ(before, after);
}

TEST_F(OvrapackPatchCommand, FilesWithoutExactlyOneBlockAreRefused)
{
    const fs::path plain = m_dir / "plain.exe";
    std::string error;
    ASSERT_TRUE(FileBytes::WriteAtomically(plain, std::vector<uint8_t>(1000, 1), error));
    EXPECT_EQ(Run("info", {plain.string()}), ExitCodes::kFailure);
    EXPECT_NE(m_err.str().find("no patch block"), std::string::npos);
    EXPECT_EQ(Run("patch", {plain.string(), "--setup", "x"}), ExitCodes::kFailure);
    EXPECT_EQ(Run("info", {(m_dir / "missing.exe").string()}), ExitCodes::kFailure);
    EXPECT_NE(m_err.str().find("cannot open"), std::string::npos);
}

} // namespace
