#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "app/file_places.h"
#include "files/path.h"
#include "sim/world.h"
#include "tests/support.h"
#include "ui/folders.h"
#include "ui/interface_state.h"
#include "ui/settings_file.h"

// A temporary folder holding an installed program's tree (bin/, share/lumora/ with the media
// and default settings), an empty working directory and an empty home.
class Places : public ::testing::Test {
  protected:
    void SetUp() override {
        clear_program_state();
        root = make_temp_dir();
        program = root + "/prefix/bin/lumora";
        share = root + "/prefix/share/lumora";
        work = root + "/work";
        home = root + "/home";
        std::system(("mkdir -p '" + share + "' '" + work + "' '" + home + "' && cp '" +
                     LUMORA_ASSETS_DIR + "'/*.bmp '" + LUMORA_ASSETS_DIR + "'/*.pcx '" +
                     LUMORA_ASSETS_DIR + "'/lmr.sav '" + share + "'")
                        .c_str());
    }
    void TearDown() override {
        clear_program_state();
        std::system(("rm -rf '" + root + "'").c_str());
    }
    PlaceInputs inputs(const char* xdg_config_home = nullptr) const {
        PlaceInputs in;
        in.working_dir = work;
        in.program_path = program;
        in.home = home.c_str();
        in.xdg_config_home = xdg_config_home;
        return in;
    }
    std::string root, program, share, work, home;
};

// Every file the program touches is split and joined one way: a name alone is in ".", the
// root keeps its slash, and joining the parts again names the same file without a doubled slash.
TEST(Paths, FolderNameAndJoinAgree) {
    const struct {
        const char *path, *folder, *name, *joined;
    } cases[] = {
        {"lmr.sav", ".", "lmr.sav", "./lmr.sav"},
        {"./lmr.sav", ".", "lmr.sav", "./lmr.sav"},
        {"/lmr.sav", "/", "lmr.sav", "/lmr.sav"},
        {"/", "/", "", "/"},
        {"out/", "out", "", "out/"},
        {"a//b.png", "a", "b.png", "a/b.png"},
        {"/home/u/lmr.sav", "/home/u", "lmr.sav", "/home/u/lmr.sav"},
    };
    for (const auto& c : cases) {
        char folder[PATH_SIZE], joined[PATH_SIZE];
        ASSERT_TRUE(folder_of(folder, c.path)) << c.path;
        EXPECT_STREQ(folder, c.folder) << c.path;
        EXPECT_EQ(folder_of(std::string(c.path)), c.folder) << c.path;
        EXPECT_STREQ(name_of(c.path), c.name) << c.path;
        ASSERT_TRUE(join_path(joined, folder, name_of(c.path))) << c.path;
        EXPECT_STREQ(joined, c.joined) << c.path;
        EXPECT_EQ(join_path(std::string(folder), name_of(c.path)), c.joined) << c.path;
    }
    char joined[PATH_SIZE];
    EXPECT_TRUE(join_path(joined, "", "lmr.sav"));
    EXPECT_STREQ(joined, "lmr.sav");
    EXPECT_FALSE(join_path(joined, std::string(PATH_SIZE - 4, 'a').c_str(), "lmr.sav"));
}

TEST_F(Places, MediaComeFromAFolderThatHoldsThemAll) {
    EXPECT_EQ(installed_data_dir(program), root + "/prefix/share/lumora");
    EXPECT_EQ(find_media_dir(work, program), share);
    // A working directory with every file wins; one that lacks a file does not.
    std::system(("cp '" + share + "'/*.bmp '" + share + "'/*.pcx '" + work + "'").c_str());
    EXPECT_EQ(find_media_dir(work, program), work);
    std::remove((work + "/wood.bmp").c_str());
    EXPECT_EQ(find_media_dir(work, program), share);
    // Nowhere whole: the working directory, so that start-up names the missing file.
    std::remove((share + "/c_tl.bmp").c_str());
    EXPECT_EQ(find_media_dir(work, program), work);
}

TEST_F(Places, UserFoldersFollowTheDesktopsVariables) {
    EXPECT_EQ(user_settings_path(nullptr, "/h"), "/h/.config/lumora/lmr.sav");
    EXPECT_EQ(user_settings_path("", "/h"), "/h/.config/lumora/lmr.sav");
    EXPECT_EQ(user_settings_path("relative/cfg", "/h"), "/h/.config/lumora/lmr.sav");
    EXPECT_EQ(user_settings_path("/cfg", "/h"), "/cfg/lumora/lmr.sav");
    EXPECT_EQ(user_settings_path(nullptr, ""), "");

    EXPECT_EQ(user_picture_dir("", nullptr, "/h"), "/h/Pictures/lumora");
    EXPECT_EQ(user_picture_dir("", "/env/pics", "/h"), "/env/pics/lumora");
    const std::string dirs =
        "# XDG_PICTURES_DIR=\"$HOME/Old\"\n"
        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(user_picture_dir(dirs, "/env/pics", "/h"), "/h/Bilder/lumora");
    EXPECT_EQ(user_picture_dir("XDG_PICTURES_DIR=\"/media/My\\ Pictures\"\n", nullptr, "/h"),
              "/media/My Pictures/lumora");
}

// An installed program started in an empty folder makes the user's settings file from the
// shipped one, never again over the user's own, and writes nothing into the working directory.
TEST_F(Places, InstalledProgramKeepsTheUsersFilesInTheirFolders) {
    const std::string user_file = home + "/.config/lumora/lmr.sav";
    FilePlaces places = find_file_places(inputs());
    EXPECT_EQ(places.media_dir, share);
    EXPECT_EQ(places.settings_path, user_file);
    EXPECT_EQ(places.startup_settings, "");
    EXPECT_EQ(places.picture_dir, home + "/Pictures/lumora");
    EXPECT_EQ(read_file(user_file), read_file(share + "/lmr.sav"));
    struct stat info;
    ASSERT_EQ(stat((home + "/.config/lumora").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    write_file(user_file, "mine\n");
    find_file_places(inputs());
    EXPECT_EQ(read_file(user_file), "mine\n");
    EXPECT_EQ(std::system(("rmdir '" + work + "'").c_str()), 0) << "the working folder was used";

    // A folder with its own settings file, or with the media, keeps everything there.
    std::system(("mkdir '" + work + "' && cp '" + share + "/lmr.sav' '" + work + "'").c_str());
    places = find_file_places(inputs());
    EXPECT_EQ(places.settings_path, work + "/lmr.sav");
    EXPECT_EQ(places.picture_dir, "");
    std::system(("cp '" + share + "'/*.bmp '" + share + "'/*.pcx '" + work + "' && rm '" + work +
                 "/lmr.sav'")
                    .c_str());
    places = find_file_places(inputs());
    EXPECT_EQ(places.media_dir, work);
    EXPECT_EQ(places.settings_path, work + "/lmr.sav");
}

// When the settings folder cannot be made, the program starts with the shipped settings and
// saving says it failed.
TEST_F(Places, UnwritableSettingsFolderStartsFromTheShippedFile) {
    write_file(home + "/not-a-folder", "");
    const std::string config = home + "/not-a-folder";
    file_places = find_file_places(inputs(config.c_str()));
    EXPECT_EQ(file_places.settings_path, config + "/lumora/lmr.sav");
    EXPECT_EQ(file_places.media_dir, share);
    reset_world();
    EXPECT_STREQ(status_text, "loading succesful");
    EXPECT_GT(swarms[1].population, 0);
    save_swarms(file_places.settings_path.c_str());
    EXPECT_STREQ(status_text, "saving failed");
}
