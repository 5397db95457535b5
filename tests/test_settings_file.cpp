#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "sim/world.h"
#include "tests/support.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/preset.h"
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
    // The temporary files of saves beside the settings file.
    std::vector<std::string> temporary_files() const { return names_starting(dir, "lmr.sav.tmp"); }
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
    EXPECT_TRUE(temporary_files().empty());
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

    // A folder stands where the file should be.
    const std::string folder = dir + "/folder.sav";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    save_swarms(folder.c_str());
    EXPECT_STREQ(status_text, "saving failed");
    EXPECT_TRUE(names_starting(dir, "folder.sav.tmp").empty());

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
    EXPECT_TRUE(temporary_files().empty());

    // A folder that does not exist.
    save_swarms((dir + "/gone/lmr.sav").c_str());
    EXPECT_STREQ(status_text, "saving failed");
    EXPECT_EQ(swarms[3].population, 12345);
}

// Each save writes a temporary file of its own, named after its process, and clears what
// killed saves left: files whose process has gone, and files too old to belong to a save under
// way (an older version's fixed name too). Another process's save under way keeps its file.
TEST_F(SettingsFile, LeftoversOfKilledSavesAreCleared) {
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const std::string dead = std::to_string(gone), alive = std::to_string(getppid());
    const std::string under_way = "lmr.sav.tmp-" + alive + "-7";
    write_file(path + ".tmp-" + dead + "-0", "half a save from a killed process\n1\n2\n");
    write_file(dir + "/" + under_way, "a save under way\n");
    write_file(dir + "/other.sav.tmp-" + dead + "-0", "another file's save\n");
    for (const std::string& old : {path + ".tmp-" + alive + "-8", path + ".tmp"}) {
        write_file(old, "left an hour ago\n");
        const timespec hour_ago[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, old.c_str(), hour_ago, 0), 0);
    }
    fill_table();
    save_swarms(path.c_str());
    EXPECT_STREQ(status_text, "saving succesful");
    EXPECT_EQ(read_file(path), expected_text());
    EXPECT_EQ(temporary_files(), std::vector<std::string>{under_way});
    EXPECT_EQ(names_starting(dir, "other.sav.tmp").size(), 1u);
}

// Only a regular file is loaded or replaced. A FIFO or a device as the settings file or as a
// preset fails at once instead of waiting for a writer (which would freeze the window), and a
// save leaves it as it is.
TEST_F(SettingsFile, FifosAndDevicesFailAtOnce) {
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    ASSERT_EQ(mkdir((dir + "/presets").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((dir + "/presets/3-waits.sav").c_str(), 0644), 0);
    // In a child that an alarm ends, so that a load that waits fails the test instead of
    // hanging it.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        alarm(10);
        fill_table();
        Swarm before[SWARM_COUNT];
        std::memcpy(before, swarms, sizeof before);
        int wrong = 0;
        file_places.media_dir = dir;
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (attempt == 0) load_swarms(path.c_str());
            if (attempt == 1) load_swarms("/dev/zero");
            if (attempt == 2) load_preset(3);
            wrong += std::strcmp(status_text, "loading failed") != 0;
        }
        wrong += std::memcmp(before, swarms, sizeof before) != 0;
        save_swarms(path.c_str());
        wrong += std::strcmp(status_text, "saving failed") != 0;
        _exit(wrong);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "a load waited for the FIFO";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a load did not fail, or a save replaced the FIFO";
    struct stat info;
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(temporary_files().empty());
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
    EXPECT_TRUE(temporary_files().empty());
    EXPECT_TRUE(names_starting(dir + "/kept", "mine.sav.tmp").empty());

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
