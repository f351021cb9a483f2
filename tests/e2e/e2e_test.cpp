// The real program in real windows on a virtual display: a user's first minute with it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "UiDriver.h"
#include "app/MainFrame.h"
#include "macro/MacroCodec.h"
#include "macro/MacroFileFormat.h"
#include "macro/StepText.h"
#include "ui/controls/List.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        std::array<char, 512> buf;
        while (fgets(buf.data(), buf.size(), p)) out += buf.data();
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

pid_t Spawn(const std::string& program) {
    pid_t pid = fork();
    if (pid == 0) {
        execl(program.c_str(), program.c_str(), nullptr);
        _exit(127);
    }
    return pid;
}

// Waits for `pid` up to `limit`; the exit status, or -1 when it is still running.
int WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(20ms);
    }
    return -1;
}

class RealWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        bin_ = std::getenv("OAKRIDGE_BIN_DIR");
        artifacts_ = fs::path(bin_).parent_path() / "e2e-artifacts";
        fs::create_directories(artifacts_);
        home_ = fs::temp_directory_path() / ("oakridge-e2e-" + std::to_string(getpid()));
        fs::create_directories(home_ / "run");
        fs::permissions(home_ / "run", fs::perms::owner_all, fs::perm_options::replace);
        setenv("XDG_STATE_HOME", (home_ / "state").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (home_ / "run").c_str(), 1);
        setenv("OAKRIDGE_DEVICE_DIR", (home_ / "devices").c_str(), 1);
        // GTK keeps caches for the process's life; they are not leaks of ours.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        // A display of our own, numbered by the server.
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        xvfb_ = fork();
        if (xvfb_ == 0) {
            close(fds[0]);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x900x24", "-nolisten",
                   "tcp", nullptr);
            _exit(127);
        }
        close(fds[1]);
        // The server writes the number and then a newline; closing our end before the newline
        // arrives would kill it, so the pipe stays open until TearDown.
        displayPipe_ = fds[0];
        std::string number;
        char c = 0;
        while (read(displayPipe_, &c, 1) == 1 && c != '\n') number += c;
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        display_ = ":" + number;
        setenv("DISPLAY", display_.c_str(), 1);
    }

    void TearDown() override {
        if (app_ > 0 && WaitFor(app_, 0ms) == -1) {
            kill(app_, SIGTERM);
            WaitFor(app_, 2000ms);
        }
        if (xvfb_ > 0) {
            kill(xvfb_, SIGTERM);
            WaitFor(xvfb_, 2000ms);
        }
        if (displayPipe_ >= 0) close(displayPipe_);
        fs::remove_all(home_);
    }

    std::string WaitForWindow(const std::string& title) {
        return Shell("timeout 20 xdotool search --sync --onlyvisible --name '^" + title +
                     "$' 2>/dev/null | head -1");
    }

    // Waits for the first read (behind the progress window) and picks the Egret in the device combo.
    void ShowEgretPage(const std::string& window) {
        for (int i = 0; i < 100 && !Shell("xdotool search --onlyvisible --name '^ReadProgress$'").empty();
             ++i)
            std::this_thread::sleep_for(50ms);
        Shell("xdotool mousemove --window " + window + " 564 28 click 1");
        std::this_thread::sleep_for(300ms);
        Shell("xdotool mousemove --window " + window + " 564 " + std::to_string(48 + 4 + 3 * 30 + 15) +
              " click 1");
        std::this_thread::sleep_for(500ms);
    }

    void Screenshot(const std::string& name) {
        Shell("import -window root '" + (artifacts_ / name).string() + "' 2>/dev/null");
        EXPECT_TRUE(fs::exists(artifacts_ / name)) << name;
    }

    std::string bin_;
    fs::path artifacts_, home_;
    std::string display_;
    pid_t xvfb_ = -1, app_ = -1;
    int displayPipe_ = -1;
};

TEST_F(RealWindow, OpensClicksTheDeviceComboRefusesASecondCopyAndCloses) {
    std::string program = bin_ + "/oakridge";
    app_ = Spawn(program);
    std::string window = WaitForWindow("Oakridge");
    ASSERT_FALSE(window.empty()) << "no window titled Oakridge appeared";
    std::string geometry = Shell("xdotool getwindowgeometry " + window);
    EXPECT_NE(geometry.find("1310x749"), std::string::npos) << geometry;
    std::this_thread::sleep_for(300ms);
    Screenshot("main_window.png");

    // The device combo sits in the caption bar; its drop-down opens below it.
    Shell("xdotool mousemove --window " + window + " 548 28 click 1");
    std::this_thread::sleep_for(500ms);
    Screenshot("device_combo_open.png");
    std::string drop = Shell("xdotool search --onlyvisible --name '^ComboWnd$' 2>/dev/null | head -1");
    EXPECT_FALSE(drop.empty()) << "the device drop-down did not open";
    // Third row: the Heron driver page.
    Shell("xdotool mousemove --window " + window + " 548 " + std::to_string(48 + 4 + 2 * 30 + 15) +
          " click 1");
    std::this_thread::sleep_for(300ms);
    Screenshot("third_device.png");

    // A second start finds the first and leaves at once.
    auto started = std::chrono::steady_clock::now();
    pid_t second = Spawn(program);
    EXPECT_EQ(WaitFor(second, 5000ms), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1500ms);
    EXPECT_EQ(Shell("xdotool search --onlyvisible --name '^Oakridge$' | wc -l"), "1");

    Shell("xdotool mousemove --window " + window + " 1279 28 click 1");
    EXPECT_EQ(WaitFor(app_, 10000ms), 0);
}

// Mean red and green of a strip of the window: the page status text is green while the device
// answers and the accent orange when it does not.
std::pair<double, double> RedGreen(const std::string& window, const std::string& crop) {
    std::string out = Shell("import -window " + window + " png:- 2>/dev/null | convert png:- -crop " + crop +
                            " -format '%[fx:mean.r] %[fx:mean.g]' info:");
    double r = 0, g = 0;
    std::sscanf(out.c_str(), "%lf %lf", &r, &g);
    return {r, g};
}

TEST_F(RealWindow, UnpluggingTheEgretWithDevsimDisablesItsPage) {
    std::string program = bin_ + "/oakridge";
    app_ = Spawn(program);
    std::string window = WaitForWindow("Oakridge");
    ASSERT_FALSE(window.empty());
    ShowEgretPage(window);
    const std::string status = "150x24+208+67";  // the page's connection state
    auto [r0, g0] = RedGreen(window, status);
    EXPECT_GT(g0, r0) << "the Egret page should show its mouse as connected";

    EXPECT_EQ(system(("ASAN_OPTIONS=detect_leaks=0 " + bin_ + "/devsim unplug egret >/dev/null").c_str()), 0);
    std::this_thread::sleep_for(1000ms);
    Screenshot("egret_unplugged.png");
    auto [r1, g1] = RedGreen(window, status);
    EXPECT_GT(r1, g1) << "the Egret page should show its mouse as gone";
}

TEST_F(RealWindow, DraggingAnEgretStageReachesTheMouse) {
    std::string program = bin_ + "/oakridge";
    app_ = Spawn(program);
    std::string window = WaitForWindow("Oakridge");
    ASSERT_FALSE(window.empty());
    ShowEgretPage(window);
    // Stage 1's slider: from its thumb (level 3 at the factory) to the right.
    const std::string move = "xdotool mousemove --window " + window;
    Shell(move + " 836 255 mousedown 1");
    for (int x = 846; x <= 900; x += 9) Shell(move + " " + std::to_string(x) + " 255");
    Shell(move + " 900 255 mouseup 1");
    std::this_thread::sleep_for(800ms);
    Screenshot("egret_stage_dragged.png");
    std::string dump = Shell("ASAN_OPTIONS=detect_leaks=0 " + bin_ + "/devsim dump egret | grep stageLevel");
    int first = -1;
    std::sscanf(dump.c_str(), " stageLevel: %d", &first);
    EXPECT_GT(first, 20) << dump;
    EXPECT_LT(first, 40) << dump;
}

// Runs `measure` on the same skin laid out by the headless backend once its first read is done, with
// folders of its own below `scratch`, so the real program starts afresh.
template <class Measure>
void InHeadlessCopy(const fs::path& scratch, Measure measure) {
    const char* keys[] = {"XDG_STATE_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "OAKRIDGE_DEVICE_DIR"};
    std::vector<std::string> saved;
    for (const char* key : keys) {
        saved.push_back(std::getenv(key));
        setenv(key, (scratch / key).c_str(), 1);
    }
    fs::create_directories(scratch / "XDG_RUNTIME_DIR");
    fs::permissions(scratch / "XDG_RUNTIME_DIR", fs::perms::owner_all, fs::perm_options::replace);
    {
        oaktest::UiDriver ui;
        app::MainFrame frame;
        if (frame.Open()) {
            ui.RunUntil([&] { return !frame.IsDeviceTaskRunning(); }, 20000);
            measure(ui, frame);
        }
        ui.RunUntil([&] { return !frame.IsDeviceTaskRunning(); }, 20000);
    }
    for (size_t i = 0; i < saved.size(); ++i) setenv(keys[i], saved[i].c_str(), 1);
}

// `read` looks at the Egret's page of the headless copy once its first read is done.
void WithHeadlessEgretPage(const fs::path& scratch,
                           const std::function<void(oaktest::UiDriver&, app::MainFrame&)>& read) {
    InHeadlessCopy(scratch, [&](oaktest::UiDriver& ui, app::MainFrame& frame) {
        ui.SelectComboItem("device_combo", 3, "Oakridge");
        frame.GetManager().LayoutIfNeeded();
        read(ui, frame);
    });
}

// Where the real window shows the Egret's macro controls.
struct MacroSpots {
    ui::Point macroButton, firstMacro, record;
};

MacroSpots LayOutMacroPage(const fs::path& scratch) {
    MacroSpots spots;
    WithHeadlessEgretPage(scratch, [&](oaktest::UiDriver& ui, app::MainFrame& frame) {
        spots.macroButton = ui.Find("marco_manager_Egret", "Oakridge").GetPos().Center();
        ui.Click("marco_manager_Egret", "Oakridge");
        frame.GetManager().LayoutIfNeeded();
        auto& list = ui.Find<ui::List>("Marco_Info_list_Egret", "Oakridge");
        const ui::Rect r = list.GetPos();
        spots.firstMacro = {r.Center().x, r.top + list.GetInset().top + list.GetItemStyle().height / 2};
        spots.record = ui.Find("recordButton_Egret", "Oakridge").GetPos().Center();
    });
    return spots;
}

TEST_F(RealWindow, RecordsKeysTypedIntoTheEgretMacroPage) {
    const MacroSpots spots = LayOutMacroPage(home_ / "layout");
    ASSERT_GT(spots.record.x, 0) << "the macro page did not lay out";
    app_ = Spawn(bin_ + "/oakridge");
    std::string window = WaitForWindow("Oakridge");
    ASSERT_FALSE(window.empty());
    ShowEgretPage(window);
    auto click = [&](ui::Point p) {
        Shell("xdotool mousemove --window " + window + " " + std::to_string(p.x) + " " + std::to_string(p.y) +
              " click 1");
        std::this_thread::sleep_for(400ms);
    };
    click(spots.macroButton);
    click(spots.firstMacro);
    click(spots.record);
    Screenshot("egret_macro_recording.png");
    Shell("xdotool windowfocus --sync " + window + " 2>/dev/null");
    Shell("xdotool key --delay 80 a b c");
    std::this_thread::sleep_for(400ms);
    click(spots.record);
    Screenshot("egret_macro_recorded.png");

    const fs::path file = home_ / "state/oakridge/Lumenor_MacroBin/MacroMouseEgretData.bin";
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MacroList macros = ParseMacroRecords(DeviceModel::Egret, bytes);
    ASSERT_FALSE(macros.empty());
    std::vector<std::pair<int, int>> keySteps;
    int delays = 0;
    for (const auto& step : DecodeMacro(DeviceModel::Egret, macros[0].data, StepNames::FilePage()).steps) {
        if (step.tag == 0xFE)
            ++delays;
        else
            keySteps.emplace_back(step.tag, step.value);
    }
    // Press and release of A, B and C (key codes 4, 5, 6), with the pauses between them.
    const std::vector<std::pair<int, int>> want{{0x82, 4}, {0x02, 4}, {0x82, 5},
                                                {0x02, 5}, {0x82, 6}, {0x02, 6}};
    EXPECT_EQ(keySteps, want);
    EXPECT_EQ(delays, 5);
}

// Where the real window shows the named controls of the Egret page and the main window.
std::map<std::string, ui::Rect> LayOutEgretPage(const fs::path& scratch,
                                                const std::vector<std::string>& names) {
    std::map<std::string, ui::Rect> rects;
    WithHeadlessEgretPage(scratch, [&](oaktest::UiDriver& ui, app::MainFrame&) {
        for (const std::string& name : names) rects[name] = ui.Find(name, "Oakridge").GetPos();
    });
    return rects;
}

// Mean red of a strip of the window.
double RedOf(const std::string& window, const ui::Rect& strip) {
    const std::string crop = std::to_string(strip.Width()) + "x" + std::to_string(strip.Height()) + "+" +
                             std::to_string(strip.left) + "+" + std::to_string(strip.top);
    return RedGreen(window, crop).first;
}

TEST_F(RealWindow, TooltipsAndTheFocusRingShowInEnglishAndRussian) {
    const auto spots = LayOutEgretPage(home_ / "layout", {"language_3", "language_10", "marco_manager_Egret",
                                                          "device_combo", "status_Egret"});
    ASSERT_EQ(spots.size(), 5u) << "the page did not lay out";
    app_ = Spawn(bin_ + "/oakridge");
    std::string window = WaitForWindow("Oakridge");
    ASSERT_FALSE(window.empty());
    ShowEgretPage(window);
    const std::string move = "xdotool mousemove --window " + window + " ";
    auto at = [](const ui::Rect& r) {
        return std::to_string(r.Center().x) + " " + std::to_string(r.Center().y);
    };
    // The device combo's left edge, where its ring runs.
    const ui::Rect combo = spots.at("device_combo");
    const ui::Rect ringStrip{combo.left, combo.top + 8, combo.left + 2, combo.bottom - 8};
    for (const auto& [option, suffix] : {std::pair{"language_3", "en"}, std::pair{"language_10", "ru"}}) {
        SCOPED_TRACE(suffix);
        Shell(move + at(spots.at(option)) + " click 1");
        std::this_thread::sleep_for(500ms);
        // The pointer rests on a navigation button: its tooltip opens after the desktop's delay.
        Shell(move + at(spots.at("marco_manager_Egret")));
        std::this_thread::sleep_for(1500ms);
        EXPECT_FALSE(Shell("xdotool search --onlyvisible --name '^ToolTip$' 2>/dev/null | head -1").empty())
            << "no tooltip over the macro button";
        Screenshot(std::string("tooltip_") + suffix + ".png");
        // Away from it the tooltip goes; a click on the status line leaves no control focused.
        Shell(move + at(spots.at("status_Egret")) + " click 1");
        std::this_thread::sleep_for(400ms);
        EXPECT_TRUE(Shell("xdotool search --onlyvisible --name '^ToolTip$' 2>/dev/null | head -1").empty());
        EXPECT_LT(RedOf(window, ringStrip), 0.5) << "a ring before any key was pressed";
        Shell("xdotool windowfocus --sync " + window + " 2>/dev/null");
        Shell("xdotool key Tab");
        std::this_thread::sleep_for(400ms);
        Screenshot(std::string("focus_ring_") + suffix + ".png");
        EXPECT_GT(RedOf(window, ringStrip), 0.8) << "the first control after Tab shows no accent ring";
    }
}

// Where the real window shows a control of the main window or the Egret page.
ui::Point SpotOf(const fs::path& scratch, const std::string& control, bool egretPage) {
    ui::Point spot{-1, -1};
    InHeadlessCopy(scratch, [&](oaktest::UiDriver& ui, app::MainFrame& frame) {
        if (egretPage) ui.SelectComboItem("device_combo", 3, "Oakridge");
        frame.GetManager().LayoutIfNeeded();
        spot = ui.Find(control, "Oakridge").GetPos().Center();
    });
    return spot;
}

// The visible window titled `title`, or empty. Titles are compared here: xdotool's patterns do not
// take Cyrillic in every locale.
std::string VisibleWindowTitled(const std::string& title) {
    std::istringstream windows(Shell("xdotool search --onlyvisible --name . 2>/dev/null"));
    std::string id;
    while (std::getline(windows, id))
        if (!id.empty() && Shell("xdotool getwindowname " + id + " 2>/dev/null") == title) return id;
    return {};
}

// Mean red of a strip of the window: the chosen language option is underlined in the accent colour.
double Red(const std::string& window, ui::Point centre) {
    const std::string crop = "40x6+" + std::to_string(centre.x - 20) + "+" + std::to_string(centre.y + 6);
    return RedGreen(window, crop).first;
}

TEST_F(RealWindow, APickedLanguageIsTheNextStartsAndTheDevicesSayWhetherTheyAreThere) {
    const ui::Point english = SpotOf(home_ / "layout", "language_3", false);
    const ui::Point russian = SpotOf(home_ / "layout", "language_10", false);
    const ui::Point save = SpotOf(home_ / "layout", "save_data_Egret", true);
    ASSERT_GT(russian.x, 0) << "the main window did not lay out";
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(name);
    setenv("LANG", "en_US.UTF-8", 1);
    // The file chooser looks around the home folder: a home of the test's own.
    fs::create_directories(home_ / "home/Documents");
    setenv("HOME", (home_ / "home").c_str(), 1);
    // The Crane is not plugged in.
    ASSERT_EQ(system(("ASAN_OPTIONS=detect_leaks=0 " + bin_ + "/devsim unplug crane >/dev/null").c_str()), 0);
    auto waitForRead = [] {
        for (int i = 0; i < 100 && !Shell("xdotool search --onlyvisible --name '^ReadProgress$'").empty();
             ++i)
            std::this_thread::sleep_for(50ms);
        std::this_thread::sleep_for(300ms);
    };
    auto click = [](const std::string& window, ui::Point p) {
        Shell("xdotool mousemove --window " + window + " " + std::to_string(p.x) + " " + std::to_string(p.y) +
              " click 1");
        std::this_thread::sleep_for(400ms);
    };

    app_ = Spawn(bin_ + "/oakridge");
    std::string window = WaitForWindow("Oakridge");
    ASSERT_FALSE(window.empty());
    waitForRead();
    EXPECT_GT(Red(window, english), Red(window, russian) + 0.1) << "an English desktop starts in English";
    click(window, {548, 28});
    Screenshot("devices_english.png");  // the Crane's entry shows it absent
    click(window, {548, 48 + 4 + 15});  // the keyboard's row closes the drop-down where it was
    click(window, russian);
    EXPECT_GT(Red(window, russian), Red(window, english) + 0.1);
    Shell("xdotool mousemove --window " + window + " 1279 28 click 1");
    ASSERT_EQ(WaitFor(app_, 10000ms), 0);

    app_ = Spawn(bin_ + "/oakridge");
    window = WaitForWindow("Oakridge");
    ASSERT_FALSE(window.empty());
    waitForRead();
    EXPECT_GT(Red(window, russian), Red(window, english) + 0.1) << "the second start is not in Russian";
    click(window, {548, 28});
    Screenshot("devices_russian.png");
    // The Egret row, then its profile save: GTK's chooser, titled in Russian, in the dark variant.
    click(window, {548, 48 + 4 + 3 * 30 + 15});
    click(window, save);
    std::string dialog;
    for (int i = 0; i < 50 && dialog.empty(); ++i) {
        std::this_thread::sleep_for(100ms);
        dialog = VisibleWindowTitled("Сохранить профиль");
    }
    std::this_thread::sleep_for(500ms);
    Screenshot("save_dialog_russian.png");
    if (!dialog.empty()) {
        // Dark: the dialog's body is darker than mid-grey.
        std::string out = Shell("import -window " + dialog +
                                " png:- 2>/dev/null | convert png:- -format '%[fx:mean]' info:");
        EXPECT_LT(std::atof(out.c_str()), 0.5) << "the file dialog is not dark: " << out;
        Shell("xdotool key --window " + dialog + " Escape");
    }
}

}  // namespace
