#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/world.h"
#include "tests/support.h"
#include "ui/interface_state.h"
#include "ui/settings_file.h"

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        clear_program_state();
        dir = make_temp_dir();
        path = dir + "/lmr.sav";
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    // A table with every field distinct, negatives and the spare fields included.
    static void fill_table() {
        for (int n = 0; n < SETTINGS_VALUES; ++n) {
            swarm_field(swarms[n / SWARM_FIELDS], n % SWARM_FIELDS) =
                (n % 3 == 0 ? -1 : 1) * n * 1000;
        }
        swarms[9].spare_19 = INT32_MIN;
        swarms[0].spare_0 = INT32_MAX;
    }
    static std::string expected_text() {
        std::string text;
        for (int n = 0; n < SETTINGS_VALUES; ++n) {
            text += std::to_string(swarm_field(swarms[n / SWARM_FIELDS], n % SWARM_FIELDS)) + "\n";
        }
        return text;
    }
    // Loads text and tells whether the table took it.
    bool load_text(const std::string& text) {
        write_file(path, text);
        load_swarms(path.c_str());
        EXPECT_EQ(status_frames, 100);
        return std::strcmp(status_text, "loading succesful") == 0;
    }
    std::string dir, path;
};

TEST_F(SettingsFile, SaveWritesTwoHundredLinesAndLoadsBackExactly) {
    fill_table();
    const std::string text = expected_text();
    save_swarms(path.c_str());
    EXPECT_STREQ(status_text, "saving succesful");
    EXPECT_EQ(read_file(path), text);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 200);
    EXPECT_NE(text.find("\n-3000\n"), std::string::npos);

    Swarm saved[SWARM_COUNT];
    std::memcpy(saved, swarms, sizeof saved);
    std::memset(swarms, 0, sizeof swarms);
    EXPECT_TRUE(load_text(text));
    EXPECT_EQ(0, std::memcmp(saved, swarms, sizeof saved));
    EXPECT_EQ(access((path + ".tmp").c_str(), F_OK), -1);
}

TEST_F(SettingsFile, AnyWhitespaceSeparatesValues) {
    fill_table();
    const std::string text = expected_text();
    Swarm saved[SWARM_COUNT];
    std::memcpy(saved, swarms, sizeof saved);
    std::string spaced, crlf;
    for (char c : text) {
        spaced += c == '\n' ? ' ' : c;
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    for (const std::string& variant :
         {spaced, crlf, "\t " + text + "trailing words\n", "+0 " + text}) {
        std::memset(swarms, 0, sizeof swarms);
        EXPECT_TRUE(load_text(variant));
        if (variant[0] != '+') {
            EXPECT_EQ(0, std::memcmp(saved, swarms, sizeof saved));
        }
    }
}

// A damaged file never mixes with the table: all 200 values or none.
TEST_F(SettingsFile, DamagedFilesLeaveTheTableUnchanged) {
    fill_table();
    const std::string good = expected_text();
    Swarm before[SWARM_COUNT];
    std::memcpy(before, swarms, sizeof before);
    std::string thirty;
    for (int i = 0; i < 30; ++i) thirty += "7\n";
    const std::string cut = good.substr(0, good.rfind('\n', good.size() - 2) + 1);
    const std::string broken[] = {
        "",
        thirty,
        cut,                                    // 199 values
        "12abc\n" + good,                       // a number followed by text
        "1.5\n" + good,                         // a decimal point
        "x\n" + good,                           // not a number at all
        "- 5\n" + good,                         // a sign alone
        "2147483648\n" + good,                  // one past the largest int
        "-2147483649\n" + good,                 // one below the smallest
        "99999999999999999999999\n" + good,     // far out of range
        good.substr(0, good.size() - 1) + "z",  // the 200th value runs into text
        std::string("5\0", 2) + good,           // a NUL byte
    };
    for (const std::string& text : broken) {
        EXPECT_FALSE(load_text(text)) << text.substr(0, 30);
        EXPECT_STREQ(status_text, "loading failed");
        EXPECT_EQ(0, std::memcmp(before, swarms, sizeof before)) << text.substr(0, 30);
    }
    // The ends of the range themselves are fine.
    std::string limits = "-2147483648\n2147483647\n";
    for (int i = 2; i < 200; ++i) limits += "0\n";
    EXPECT_TRUE(load_text(limits));
    EXPECT_EQ(swarms[0].spare_0, INT32_MIN);
    EXPECT_EQ(swarms[0].highest_speed, INT32_MAX);
}

TEST_F(SettingsFile, MissingFileFailsToLoad) {
    fill_table();
    load_swarms((dir + "/absent.sav").c_str());
    EXPECT_STREQ(status_text, "loading failed");
    EXPECT_EQ(swarms[0].spare_0, INT32_MAX);
}

// A save that cannot complete leaves the previous file byte for byte, and no temporary file.
TEST_F(SettingsFile, FailedSavesKeepTheOldFile) {
    fill_table();
    save_swarms(path.c_str());
    const std::string old = read_file(path);
    swarms[3].population = 12345;

    // The temporary file's place is taken by a folder.
    ASSERT_EQ(mkdir((path + ".tmp").c_str(), 0755), 0);
    save_swarms(path.c_str());
    EXPECT_STREQ(status_text, "saving failed");
    EXPECT_EQ(read_file(path), old);
    rmdir((path + ".tmp").c_str());

    // The file size limit is reached half-way through the write.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved_limit;
    getrlimit(RLIMIT_FSIZE, &saved_limit);
    rlimit small = saved_limit;
    small.rlim_cur = 300;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    save_swarms(path.c_str());
    setrlimit(RLIMIT_FSIZE, &saved_limit);
    EXPECT_STREQ(status_text, "saving failed");
    EXPECT_EQ(read_file(path), old);
    EXPECT_EQ(access((path + ".tmp").c_str(), F_OK), -1);

    // A folder that does not exist.
    save_swarms((dir + "/gone/lmr.sav").c_str());
    EXPECT_STREQ(status_text, "saving failed");
    EXPECT_EQ(swarms[3].population, 12345);
}

TEST_F(SettingsFile, LeftoverTemporaryFileIsReplaced) {
    write_file(path + ".tmp", "half a save from a killed process\n1\n2\n");
    fill_table();
    save_swarms(path.c_str());
    EXPECT_STREQ(status_text, "saving succesful");
    EXPECT_EQ(read_file(path), expected_text());
    EXPECT_EQ(access((path + ".tmp").c_str(), F_OK), -1);
}

// A settings file kept elsewhere through a link stays linked, and a saved file keeps the
// permission bits the user gave it, also when reached through a relative link.
TEST_F(SettingsFile, SavingKeepsLinksAndPermissionBits) {
    ASSERT_EQ(mkdir((dir + "/kept").c_str(), 0755), 0);
    const std::string target = dir + "/kept/mine.sav";
    write_file(target, "old\n");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(symlink("kept/mine.sav", path.c_str()), 0);
    fill_table();
    save_swarms(path.c_str());
    EXPECT_STREQ(status_text, "saving succesful");

    struct stat link_info, file_info;
    ASSERT_EQ(lstat(path.c_str(), &link_info), 0);
    EXPECT_TRUE(S_ISLNK(link_info.st_mode));
    EXPECT_EQ(read_file(target), expected_text());
    ASSERT_EQ(stat(target.c_str(), &file_info), 0);
    EXPECT_EQ(file_info.st_mode & 07777, 0640u);
    EXPECT_EQ(access((path + ".tmp").c_str(), F_OK), -1);
    EXPECT_EQ(access((target + ".tmp").c_str(), F_OK), -1);

    // A link to a file not made yet stays a link, and saving makes the file.
    unlink(target.c_str());
    save_swarms(path.c_str());
    ASSERT_EQ(lstat(path.c_str(), &link_info), 0);
    EXPECT_TRUE(S_ISLNK(link_info.st_mode));
    EXPECT_EQ(read_file(target), expected_text());

    // A plain file keeps unusual bits too.
    unlink(path.c_str());
    write_file(path, "old\n");
    ASSERT_EQ(chmod(path.c_str(), 0604), 0);
    save_swarms(path.c_str());
    ASSERT_EQ(stat(path.c_str(), &file_info), 0);
    EXPECT_EQ(file_info.st_mode & 07777, 0604u);
    EXPECT_EQ(read_file(path), expected_text());
}
