// The program in this process on the real GTK backend, with the simulated devices slowed down:
// how long the start-up read takes against the time its transfers alone must take, and the longest
// stall of the UI thread, measured as the largest gap between ticks of a 1 ms timer on it, while the
// start-up read runs, while a write runs, and while a stage slider is dragged. Prints one JSON
// object on stdout; run_bench.py puts it in the table.
#include <gtk/gtk.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchEnvironment.h"
#include "SimControl.h"
#include "app/Application.h"
#include "app/MainFrame.h"
#include "device/DeviceLibraryBinding.h"
#include "mouse/PageOperation.h"
#include "ui/backend/gtk/GtkBackend.h"
#include "ui/controls/Combo.h"
#include "ui/controls/Slider.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Toolkit.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr DeviceModel kModels[] = {DeviceModel::Plover, DeviceModel::Heron, DeviceModel::HeronDriver,
                                   DeviceModel::Egret,  DeviceModel::Ibis,  DeviceModel::Crane};
constexpr int kReadLatencyMs = 1;
constexpr int kWriteLatencyMs = 20;
constexpr int kEgretComboIndex = 3;
constexpr const char* kStageSlider = "result_DPI1_slider_Egret";
// A pointer that reports about every 4 ms, as a desktop mouse does.
constexpr int kDragStepMs = 4;
// How long a phase goes on after its work ended: the page takes the result in and is drawn again.
constexpr auto kTail = std::chrono::milliseconds(200);

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void SetLatency(int ms) {
    for (DeviceModel m : kModels) SimControl(m).SetLatency(ms);
}
void ResetTransfers() {
    for (DeviceModel m : kModels) SimControl(m).ResetCallCounts();
}
int Transfers() {
    int sum = 0;
    for (DeviceModel m : kModels) sum += SimControl(m).TransferCount();
    return sum;
}

constexpr double kFrameBudgetMs = 16;

struct Phase {
    std::string name;
    int latencyMs = 0;
    Clock::time_point start{};
    Clock::time_point end{};
    double maxGapMs = 0;
    int longGaps = 0;       // gaps of a frame's budget or more
    double maxFrameMs = 0;  // the longest frame of the main window (layout and paint)
    // The longest gaps that held each thing the UI thread does here: starting a device task (its
    // job and the progress window), finishing one (the pages take their results in,
    // "Update_Profile"), drawing a frame of the main window; and of the gaps that held none.
    double maxGapWithTaskStartMs = 0;
    double maxGapWithFrameMs = 0;
    double maxGapWithTaskEndMs = 0;
    double maxGapOtherMs = 0;
    int transfers = 0;
    int ticks = 0;
};

// The script: each step runs from the 1 ms tick until it says it is done.
class Script {
  public:
    explicit Script(app::MainFrame& frame) : frame_(frame) {}

    void Tick() {
        const auto now = Clock::now();
        if (current_) {
            const double gap = Ms(now - lastTick_);
            current_->maxGapMs = std::max(current_->maxGapMs, gap);
            if (gap >= kFrameBudgetMs) ++current_->longGaps;
            ++current_->ticks;
            auto keep = [gap](bool held, double& longest) {
                if (held) longest = std::max(longest, gap);
            };
            keep(gapHadTaskStart_, current_->maxGapWithTaskStartMs);
            keep(gapHadTaskEnd_, current_->maxGapWithTaskEndMs);
            keep(gapHadFrame_, current_->maxGapWithFrameMs);
            keep(!gapHadTaskStart_ && !gapHadTaskEnd_ && !gapHadFrame_, current_->maxGapOtherMs);
        }
        gapHadFrame_ = gapHadTaskEnd_ = gapHadTaskStart_ = false;
        lastTick_ = now;
        if (step_ < steps_.size() && steps_[step_](now)) ++step_;
        if (step_ == steps_.size() && !quitting_) {
            quitting_ = true;
            ui::Toolkit::PostQuitMessage(0);
        }
    }

    void Add(std::function<bool(Clock::time_point)> step) { steps_.push_back(std::move(step)); }
    // Gaps count from `now`, so a phase begun outside a tick also holds the gap it began in.
    // Transfers count from `transfersBefore`, or from now when it is negative.
    void Begin(const std::string& name, int latencyMs, Clock::time_point now, int transfersBefore = -1) {
        Phase phase;
        phase.name = name;
        phase.latencyMs = latencyMs;
        phase.start = now;
        phase.transfers = transfersBefore >= 0 ? transfersBefore : Transfers();
        phases_.push_back(phase);
        current_ = &phases_.back();
        lastTick_ = now;
        gapHadFrame_ = gapHadTaskEnd_ = gapHadTaskStart_ = false;
    }
    // The phase's work is done: its elapsed time and transfers stop here, its gaps go on until
    // Close(), so that what the UI thread does about the result counts too.
    void End(Clock::time_point now) {
        current_->end = now;
        current_->transfers = Transfers() - current_->transfers;
    }
    void Close() { current_ = nullptr; }
    void OnFrame(double ms) {
        if (current_) current_->maxFrameMs = std::max(current_->maxFrameMs, ms);
        gapHadFrame_ = true;
    }
    void OnTaskEnded() { gapHadTaskEnd_ = true; }
    void OnTaskStarted() { gapHadTaskStart_ = true; }
    bool InPhase() const { return current_ != nullptr; }
    // A step that keeps the phase open for `tail` after its work ended, then closes it.
    std::function<bool(Clock::time_point)> Tail(Clock::duration tail) {
        return [this, tail, until = Clock::time_point{}](Clock::time_point now) mutable {
            if (until == Clock::time_point{}) until = now + tail;
            if (now < until) return false;
            Close();
            return true;
        };
    }
    const std::deque<Phase>& Phases() const { return phases_; }

  private:
    app::MainFrame& frame_;
    std::vector<std::function<bool(Clock::time_point)>> steps_;
    size_t step_ = 0;
    std::deque<Phase> phases_;
    Phase* current_ = nullptr;
    Clock::time_point lastTick_ = Clock::now();
    bool quitting_ = false;
    bool gapHadFrame_ = false;
    bool gapHadTaskEnd_ = false;
    bool gapHadTaskStart_ = false;
};

// A script step that only lets time pass.
std::function<bool(Clock::time_point)> Wait(Clock::duration duration) {
    return [duration, until = Clock::time_point{}](Clock::time_point now) mutable {
        if (until == Clock::time_point{}) until = now + duration;
        return now >= until;
    };
}

std::filesystem::path PrepareEnvironment() {
    return bench::PrepareHome("oakridge-ui-bench-" + std::to_string(getpid()), true);
}

// Times each frame of the main window: from the frame clock's before-paint to its after-paint.
struct FrameTimer {
    Script* script;
    Clock::time_point begin{};
    static void Attach(FrameTimer& timer) {
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w; w = w->next) {
            GtkWidget* widget = GTK_WIDGET(w->data);
            if (gtk_widget_get_allocated_width(widget) != 1310 ||
                gtk_widget_get_allocated_height(widget) != 749)
                continue;
            if (GdkFrameClock* clock = gtk_widget_get_frame_clock(widget)) {
                g_signal_connect(clock, "before-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer data) {
                                     static_cast<FrameTimer*>(data)->begin = Clock::now();
                                 }),
                                 &timer);
                g_signal_connect(clock, "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer data) {
                                     auto* t = static_cast<FrameTimer*>(data);
                                     if (t->begin != Clock::time_point{})
                                         t->script->OnFrame(Ms(Clock::now() - t->begin));
                                 }),
                                 &timer);
                break;
            }
        }
        g_list_free(windows);
    }
};

void PrintJson(const std::deque<Phase>& phases) {
    std::printf("{\n");
    for (size_t i = 0; i < phases.size(); ++i) {
        const Phase& p = phases[i];
        std::printf(
            "  \"%s\": {\"elapsed_ms\": %.3f, \"max_gap_ms\": %.3f, \"long_gaps\": %d, "
            "\"max_gap_with_task_start_ms\": %.3f, \"max_gap_with_frame_ms\": %.3f, "
            "\"max_gap_with_task_end_ms\": %.3f, \"max_gap_other_ms\": %.3f, "
            "\"max_frame_ms\": %.3f, \"ticks\": %d, \"transfers\": %d, \"latency_ms\": %d}%s\n",
            p.name.c_str(), Ms(p.end - p.start), p.maxGapMs, p.longGaps, p.maxGapWithTaskStartMs,
            p.maxGapWithFrameMs, p.maxGapWithTaskEndMs, p.maxGapOtherMs, p.maxFrameMs, p.ticks, p.transfers,
            p.latencyMs, i + 1 < phases.size() ? "," : "");
    }
    std::printf("}\n");
}

}  // namespace

int main() {
    const auto home = PrepareEnvironment();
    const std::string bin = std::string(std::getenv("OAKRIDGE_BIN_DIR")) + "/";
    DeviceLibraryBinding::SetLibraryFolder(bin);
    SetLatency(kReadLatencyMs);
    ResetTransfers();

    auto backend = ui::GtkBackend::Create();
    if (!backend) {
        std::fprintf(stderr, "ui_bench: no display (set DISPLAY or run under Xvfb)\n");
        return 2;
    }
    ui::Toolkit::Init(std::move(backend));
    ui::Toolkit::SetInstancePath(bin);
    ui::Toolkit::SetResourcePath(bin + "res/Skin/");

    int status = 0;
    {
        app::MainFrame frame;
        Script script(frame);
        FrameTimer frameTimer{&script};
        auto taskEnds =
            frame.GetManager().AddMessageFilter([&](uint32_t message, intptr_t, intptr_t, intptr_t&) {
                if (message == 1002) script.OnTaskEnded();
                return false;
            });
        // The read-all task starts from "windowinit"; so does the phase, at once.
        bool readStarted = false;
        // The window hears a notification first, so a write request has started its task (or been
        // queued) when this listener hears it.
        auto listener = frame.GetManager().AddNotifier([&](ui::Notification& n) {
            if (n.type.starts_with("WRITE_")) script.OnTaskStarted();
            if (n.type != "windowinit" || readStarted) return;
            readStarted = true;
            FrameTimer::Attach(frameTimer);
            // The worker may have begun already; nothing else talked to the devices before it.
            script.Begin("startup_read", kReadLatencyMs, Clock::now(), 0);
        });

        // 1. The start-up read, 1 ms per transfer.
        script.Add([&](Clock::time_point now) {
            if (!readStarted || frame.IsDeviceTaskRunning()) return false;
            script.End(now);
            return true;
        });
        script.Add(script.Tail(kTail));
        // 2. Nothing: the timer's own floor on this machine.
        script.Add([&](Clock::time_point now) {
            if (!script.InPhase()) script.Begin("idle", 0, now);
            if (now - script.Phases().back().start < std::chrono::milliseconds(300)) return false;
            script.End(now);
            script.Close();
            return true;
        });
        // 3. The Egret page, then a write of all its stages at 20 ms per transfer.
        bool requested = false;
        script.Add([&](Clock::time_point) {
            if (auto* combo = frame.Find<ui::Combo>("device_combo"))
                combo->SelectItem(kEgretComboIndex, ui::Notify::Yes);
            SetLatency(kWriteLatencyMs);
            return true;
        });
        // Let the page switch be drawn before the write starts.
        script.Add(Wait(std::chrono::milliseconds(100)));
        script.Add([&](Clock::time_point now) {
            if (!script.InPhase()) {
                script.Begin("write", kWriteLatencyMs, now);
                frame.GetManager().SendNotify(nullptr, "WRITE_EgretDATA", 0, mouse::kOpStages, true, true);
                return false;
            }
            if (!requested) {
                requested = frame.IsDeviceTaskRunning();
                return false;
            }
            if (frame.IsDeviceTaskRunning()) return false;
            script.End(now);
            return true;
        });
        script.Add(script.Tail(kTail));
        // 4. Dragging the first stage's slider across its range, one step per pointer report, until
        // the writes it asked for are done.
        int dragValue = 0, dragTarget = 0, dragY = 0;
        Clock::time_point lastMove{};
        bool released = false;
        ui::Slider* slider = nullptr;
        script.Add([&](Clock::time_point now) {
            auto& m = frame.GetManager();
            if (!script.InPhase()) {
                slider = frame.Find<ui::Slider>(kStageSlider);
                if (!slider || !slider->IsEnabled()) {
                    std::fprintf(stderr, "ui_bench: %s missing or disabled\n", kStageSlider);
                    status = 1;
                    return true;
                }
                script.Begin("slider_drag", kWriteLatencyMs, now);
                dragValue = slider->GetValue();
                dragTarget = dragValue < (slider->GetMin() + slider->GetMax()) / 2 ? slider->GetMax()
                                                                                   : slider->GetMin();
                dragY = slider->GetPos().Center().y;
                ui::Point start{slider->XForValue(dragValue), dragY};
                m.OnMouseMove(start, 0);
                m.OnButtonDown(start, 0);
                lastMove = now;
                return false;
            }
            if (!released) {
                if (now - lastMove < std::chrono::milliseconds(kDragStepMs)) return false;
                lastMove = now;
                dragValue += dragTarget > dragValue ? 1 : -1;
                m.OnMouseMove({slider->XForValue(dragValue), dragY}, 0);
                if (dragValue == dragTarget) {
                    m.OnButtonUp({slider->XForValue(dragValue), dragY}, 0);
                    released = true;
                }
                return false;
            }
            if (frame.IsDeviceTaskRunning()) return false;
            script.End(now);
            return true;
        });
        script.Add(script.Tail(kTail));

        guint ticker = g_timeout_add(
            1,
            [](gpointer data) -> gboolean {
                static_cast<Script*>(data)->Tick();
                return G_SOURCE_CONTINUE;
            },
            &script);
        if (!frame.Open()) {
            std::fprintf(stderr, "ui_bench: the main skin did not build\n");
            return 1;
        }
        ui::Toolkit::MessageLoop();
        g_source_remove(ticker);
        if (status == 0) PrintJson(script.Phases());
    }
    ui::Toolkit::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return status;
}
