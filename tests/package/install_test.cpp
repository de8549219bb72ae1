// install_test.cpp: the game as `cmake --install` lays it down. Every file in
// its place with its mode, the font link resolving in the real system, every
// language's run folder whole, the desktop entry and metainfo valid, the
// launcher answering without a display and starting the game from `/` in the
// desktop's language, and the window carrying its class and icon.
// GoogleTest first: Xlib's macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <climits>
#include <unistd.h>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/game_session.h"

namespace {

namespace fs = std::filesystem;
using testsupport::GameProcess;

constexpr auto COMMAND_TIMEOUT = std::chrono::seconds(60); // an install or a validator
// Of the first frame, how many pixels may differ from the title image, and by how much.
constexpr std::size_t MAX_DIFFERING = WINDOW_WIDTH * WINDOW_HEIGHT / 1000;
constexpr int PIXEL_TOLERANCE = 3;
constexpr std::array<int, 6> ICON_SIZES{16, 32, 48, 64, 128, 256}; // pixels
constexpr unsigned long SMALLEST_WINDOW_ICON = 16;                 // pixels
constexpr int ALPHA_SHIFT = 24; // bit positions of the channels in a _NET_WM_ICON word
constexpr int RED_SHIFT = 16;
constexpr int GREEN_SHIFT = 8;
constexpr unsigned long CHANNEL_MASK = 0xff;
constexpr const char* UNREACHABLE_DISPLAY = ":65000"; // no X server listens there

const fs::perms READ_ONLY = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::others_read; // 0644
const fs::perms EXECUTABLE =
    READ_ONLY | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec; // 0755

// A staging folder holding one `cmake --install` of the build, removed afterwards.
class StagedInstall {
public:
    StagedInstall()
        : root_(fs::temp_directory_path() / ("quillory-install-" + std::to_string(getpid()))) {
        fs::remove_all(root_);
        fs::create_directories(root_);
        GameProcess install({QUILLORY_CMAKE, "--install", QUILLORY_BUILD_DIR}, "/",
                            {{"DESTDIR", root_.string()}});
        status_ = install.waitForExit(COMMAND_TIMEOUT);
        log_ = install.standardOutput() + install.standardError();
    }
    ~StagedInstall() { fs::remove_all(root_); }
    StagedInstall(const StagedInstall&) = delete;
    StagedInstall& operator=(const StagedInstall&) = delete;

    bool succeeded() const { return status_ == 0; }
    const std::string& log() const { return log_; }
    const fs::path& root() const { return root_; }
    // Where a path under the install prefix lies in the staging folder.
    fs::path at(const std::string& underPrefix) const {
        return root_ / fs::path(QUILLORY_INSTALL_PREFIX).relative_path() / underPrefix;
    }

private:
    fs::path root_;
    std::optional<int> status_;
    std::string log_;
};

std::string share(const std::string& path) {
    return std::string(QUILLORY_INSTALL_SHAREDIR) + "/" + path;
}
std::string data(const std::string& path) {
    return std::string(QUILLORY_INSTALL_DATADIR) + "/" + path;
}

// Every file the install must lay down (the font link apart), with its mode.
std::map<std::string, fs::perms> expectedFiles() {
    const std::string id = QUILLORY_APP_ID;
    std::map<std::string, fs::perms> files{
        {std::string(QUILLORY_INSTALL_GAMESDIR) + "/quillory", EXECUTABLE},
        {std::string(QUILLORY_INSTALL_PROGRAMDIR) + "/quillory", EXECUTABLE},
        {data("audio/backgroundmusic.mp3"), READ_ONLY},
        {share("applications/" + id + ".desktop"), READ_ONLY},
        {share("metainfo/" + id + ".metainfo.xml"), READ_ONLY},
        {std::string(QUILLORY_INSTALL_MANDIR) + "/man6/quillory.6.gz", READ_ONLY},
        {share("doc/quillory/changelog.gz"), READ_ONLY},
        {share("doc/quillory/copyright"), READ_ONLY},
    };
    const fs::path images = fs::path(QUILLORY_SOURCE_DIR) / "assets/images";
    for (const fs::directory_entry& image : fs::recursive_directory_iterator(images)) {
        if (image.is_regular_file()) {
            files.emplace(data("images/" + fs::relative(image.path(), images).string()), READ_ONLY);
        }
    }
    for (const int size : ICON_SIZES) {
        const std::string side = std::to_string(size);
        files.emplace(share("icons/hicolor/" + side + "x" + side + "/apps/quillory.png"),
                      READ_ONLY);
    }
    files.emplace(share("icons/hicolor/scalable/apps/quillory.svg"), READ_ONLY);
    return files;
}

// Runs a command to its end; its exit status and everything it printed.
std::pair<std::optional<int>, std::string> run(const std::vector<std::string>& argv,
                                               const std::map<std::string, std::string>& env = {}) {
    GameProcess process(argv, "/", env);
    const std::optional<int> status = process.waitForExit(COMMAND_TIMEOUT);
    return {status, process.standardOutput() + process.standardError()};
}

// The window's _NET_WM_ICON items: for each size, width, height, then ARGB pixels.
std::vector<unsigned long> windowIcon(Display* display, Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* items = nullptr;
    XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0, LONG_MAX,
                       False, XA_CARDINAL, &type, &format, &count, &remaining, &items);
    std::vector<unsigned long> icon;
    if (items != nullptr) {
        const auto* longs = reinterpret_cast<const unsigned long*>(items);
        icon.assign(longs, longs + count);
        XFree(items);
    }
    return icon;
}

TEST(InstallTest, StagedInstallIsCompleteValidAndStartsTheGameWithItsIdentity) {
    const StagedInstall staged;
    ASSERT_TRUE(staged.succeeded()) << staged.log();

    for (const auto& [path, mode] : expectedFiles()) {
        const fs::file_status status = fs::symlink_status(staged.at(path));
        EXPECT_TRUE(fs::is_regular_file(status)) << path;
        EXPECT_EQ(status.permissions(), mode) << path;
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(staged.root())) {
        if (entry.is_directory() && !entry.is_symlink()) {
            EXPECT_EQ(entry.status().permissions(), EXECUTABLE) << entry.path();
        }
    }

    // The font is a relative link that lands on the font package's file once installed.
    const fs::path fontsDir =
        fs::path(QUILLORY_INSTALL_PREFIX) / QUILLORY_INSTALL_DATADIR / "fonts";
    const fs::path link = staged.at(data("fonts/courier.ttf"));
    ASSERT_TRUE(fs::is_symlink(link));
    const fs::path target = fs::read_symlink(link);
    EXPECT_TRUE(target.is_relative()) << target;
    EXPECT_EQ((fontsDir / target).lexically_normal(), fs::path(QUILLORY_FONT_SOURCE));

    // Each language's run folder holds every picture the English one holds,
    // and the font and music, through links that resolve in the installation.
    const fs::path dataFolder = staged.at(QUILLORY_INSTALL_DATADIR);
    std::size_t languages = 0;
    for (const fs::directory_entry& language : fs::directory_iterator(dataFolder / "languages")) {
        ++languages;
        for (const fs::directory_entry& picture : fs::directory_iterator(dataFolder / "images")) {
            if (picture.is_regular_file()) {
                const fs::path shown = language.path() / "images" / picture.path().filename();
                EXPECT_TRUE(fs::is_symlink(shown)) << shown;
                EXPECT_TRUE(fs::is_regular_file(shown)) << shown;
            }
        }
        EXPECT_TRUE(fs::is_regular_file(language.path() / "audio/backgroundmusic.mp3"));
        EXPECT_TRUE(fs::is_symlink(language.path() / "fonts/courier.ttf"));
    }
    EXPECT_GT(languages, 0u);

    // The validators, as the package build runs them: silent and content.
    const auto desktop =
        run({"desktop-file-validate",
             staged.at(share("applications/" QUILLORY_APP_ID ".desktop")).string()});
    EXPECT_EQ(desktop.first, 0) << desktop.second;
    EXPECT_EQ(desktop.second, "");
    const auto metainfo =
        run({"appstreamcli", "validate", "--no-net",
             staged.at(share("metainfo/" QUILLORY_APP_ID ".metainfo.xml")).string()});
    EXPECT_EQ(metainfo.first, 0) << metainfo.second;

    // With no display at all the launcher answers --version, and refuses to
    // start the game with one line that says why; a display that is named
    // but cannot be opened reaches GLUT, which names it.
    const std::string launcher = staged.at(QUILLORY_INSTALL_GAMESDIR "/quillory").string();
    const std::map<std::string, std::string> noDisplay{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
    const auto version = run({launcher, "--version"}, noDisplay);
    EXPECT_EQ(version.first, 0);
    EXPECT_EQ(version.second, "quillory " QUILLORY_VERSION "\n");
    const auto headless = run({launcher}, noDisplay);
    EXPECT_EQ(headless.first, 1);
    EXPECT_EQ(headless.second,
              "quillory: Quillory needs a graphical desktop session, and no display was found "
              "(DISPLAY and WAYLAND_DISPLAY are unset)\n");
    const auto unreachable = run({launcher}, {{"DISPLAY", UNREACHABLE_DISPLAY}});
    EXPECT_NE(unreachable.first, 0);
    EXPECT_NE(unreachable.second.find(std::string("failed to open display '") +
                                      UNREACHABLE_DISPLAY + "'"),
              std::string::npos)
        << unreachable.second;

    // The font package's file where the link looks for it inside the staging
    // folder, as fonts-anonymous-pro puts it on a real system.
    const fs::path stagedFont = staged.root() / fs::path(QUILLORY_FONT_SOURCE).relative_path();
    fs::create_directories(stagedFont.parent_path());
    fs::create_symlink(QUILLORY_FONT_SOURCE, stagedFont);

    // Started from `/` on a German desktop, the launcher finds the data: the
    // German title screen shows.
    GameProcess game(
        {launcher}, "/",
        {{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", ""}, {"LC_MESSAGES", ""}, {"LC_ALL", ""}});
    testsupport::XConnection x;
    const std::optional<Window> window = x.waitForWindow(WINDOW_TITLE, e2e::START_TIMEOUT);
    ASSERT_TRUE(window.has_value()) << game.standardError();
    const testsupport::Image title =
        testsupport::readPngRgb(staged.at(data("images/de/titlescreen.png")).string());
    std::size_t differing = 0;
    testsupport::waitFor(
        [&] {
            const testsupport::Image shot = x.capture(*window);
            differing = shot.width == title.width && shot.height == title.height
                            ? e2e::differingPixels(shot, title, PIXEL_TOLERANCE)
                            : title.pixels.size();
            return differing <= MAX_DIFFERING;
        },
        e2e::STEP_TIMEOUT);
    EXPECT_LE(differing, MAX_DIFFERING);

    // The window's class matches the desktop entry's StartupWMClass.
    XClassHint classHint{};
    ASSERT_NE(XGetClassHint(x.display(), *window, &classHint), 0);
    EXPECT_STREQ(classHint.res_name, "quillory");
    EXPECT_STREQ(classHint.res_class, "Quillory");
    XFree(classHint.res_name);
    XFree(classHint.res_class);

    // The icon starts with the 16-pixel image, whose opaque pixels match the
    // committed art channel for channel (a swapped byte order shows here).
    const std::vector<unsigned long> icon = windowIcon(x.display(), *window);
    const int side = static_cast<int>(SMALLEST_WINDOW_ICON);
    ASSERT_GE(icon.size(), 2 + SMALLEST_WINDOW_ICON * SMALLEST_WINDOW_ICON);
    EXPECT_EQ(icon[0], SMALLEST_WINDOW_ICON);
    EXPECT_EQ(icon[1], SMALLEST_WINDOW_ICON);
    const testsupport::Image art =
        testsupport::readPngRgb(staged.at(share("icons/hicolor/16x16/apps/quillory.png")).string());
    ASSERT_EQ(art.width, side);
    int opaque = 0;
    for (int y = 0; y < side; ++y) {
        for (int px = 0; px < side; ++px) {
            const unsigned long argb = icon[2 + static_cast<std::size_t>(y * side + px)];
            if ((argb >> ALPHA_SHIFT & CHANNEL_MASK) != CHANNEL_MASK) {
                continue; // the art's rounded corners, blended on read
            }
            ++opaque;
            EXPECT_EQ((e2e::Rgb{static_cast<int>(argb >> RED_SHIFT & CHANNEL_MASK),
                                static_cast<int>(argb >> GREEN_SHIFT & CHANNEL_MASK),
                                static_cast<int>(argb & CHANNEL_MASK)}),
                      e2e::pixel(art, px, y))
                << "icon pixel " << px << ", " << y;
        }
    }
    EXPECT_GT(opaque, side * side / 2);
}

} // namespace
