#include "ui/backend/gtk/GtkBackend.h"

#include <gtk/gtk.h>

#include <cmath>
#include <mutex>

#include "ui/backend/FileDialogFlow.h"
#include "ui/backend/gtk/GdkKeys.h"
#include "ui/core/Event.h"
#include "ui/core/Messages.h"
#include "ui/core/Window.h"
#include "ui/render/CairoCanvas.h"

namespace ui {
namespace {

unsigned ModifiersOf(guint state) {
    unsigned m = 0;
    if (state & GDK_CONTROL_MASK) m |= kModCtrl;
    if (state & GDK_SHIFT_MASK) m |= kModShift;
    if (state & GDK_MOD1_MASK) m |= kModAlt;
    if (state & GDK_SUPER_MASK) m |= kModWin;
    return m;
}

Point PointOf(double x, double y) {
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

}  // namespace

// One top-level GTK window with a drawing area that fills it.
class GtkNativeWindow final : public NativeWindow {
  public:
    GtkNativeWindow(WindowImplBase& host, GtkWindow* owner, const WindowSpec& spec) : host_(host) {
        window_ =
            GTK_WINDOW(gtk_window_new(spec.popup || spec.tooltip ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL));
        g_object_ref_sink(window_);
        gtk_window_set_title(window_, spec.title.c_str());
        gtk_window_set_decorated(window_, FALSE);
        gtk_window_set_resizable(window_, FALSE);
        gtk_window_set_default_size(window_, spec.rect.Width(), spec.rect.Height());
        gtk_widget_set_size_request(GTK_WIDGET(window_), spec.rect.Width(), spec.rect.Height());
        gtk_window_move(window_, spec.rect.left, spec.rect.top);
        rect_ = spec.rect;
        if (owner) gtk_window_set_transient_for(window_, owner);
        if (spec.toolWindow) {
            gtk_window_set_type_hint(window_, GDK_WINDOW_TYPE_HINT_UTILITY);
            gtk_window_set_skip_taskbar_hint(window_, TRUE);
        }
        if (spec.popup) gtk_window_set_type_hint(window_, GDK_WINDOW_TYPE_HINT_DROPDOWN_MENU);
        if (spec.tooltip) {
            gtk_window_set_type_hint(window_, GDK_WINDOW_TYPE_HINT_TOOLTIP);
            gtk_window_set_accept_focus(window_, FALSE);
        }
        if (spec.topMost) gtk_window_set_keep_above(window_, TRUE);
        if (spec.transparent) {
            GdkScreen* screen = gtk_widget_get_screen(GTK_WIDGET(window_));
            if (GdkVisual* rgba = gdk_screen_get_rgba_visual(screen);
                rgba && gdk_screen_is_composited(screen)) {
                gtk_widget_set_visual(GTK_WIDGET(window_), rgba);
                gtk_widget_set_app_paintable(GTK_WIDGET(window_), TRUE);
            }
        }
        area_ = gtk_drawing_area_new();
        gtk_widget_set_can_focus(area_, TRUE);
        gtk_widget_add_events(area_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                         GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_SCROLL_MASK |
                                         GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK);
        gtk_container_add(GTK_CONTAINER(window_), area_);
        g_signal_connect(area_, "draw", G_CALLBACK(OnDraw), this);
        g_signal_connect(area_, "button-press-event", G_CALLBACK(OnButtonPress), this);
        g_signal_connect(area_, "button-release-event", G_CALLBACK(OnButtonRelease), this);
        g_signal_connect(area_, "motion-notify-event", G_CALLBACK(OnMotion), this);
        g_signal_connect(area_, "leave-notify-event", G_CALLBACK(OnLeave), this);
        g_signal_connect(area_, "scroll-event", G_CALLBACK(OnScroll), this);
        g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
        g_signal_connect(window_, "key-release-event", G_CALLBACK(OnKeyRelease), this);
        g_signal_connect(window_, "focus-in-event", G_CALLBACK(OnFocusIn), this);
        g_signal_connect(window_, "focus-out-event", G_CALLBACK(OnFocusOut), this);
        g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
        g_signal_connect(window_, "configure-event", G_CALLBACK(OnConfigure), this);
        g_signal_connect(window_, "window-state-event", G_CALLBACK(OnWindowState), this);
        popup_ = spec.popup;
    }

    ~GtkNativeWindow() override {
        g_signal_handlers_disconnect_by_data(window_, this);
        g_signal_handlers_disconnect_by_data(area_, this);
        if (grabbed_) gdk_seat_ungrab(gdk_display_get_default_seat(gdk_display_get_default()));
        gtk_widget_destroy(GTK_WIDGET(window_));
        g_object_unref(window_);
    }

    GtkWindow* Gtk() const { return window_; }

    void Show(bool show, bool takeFocus) override {
        if (show) {
            gtk_window_set_accept_focus(window_, takeFocus);
            gtk_widget_show_all(GTK_WIDGET(window_));
            gtk_window_move(window_, rect_.left, rect_.top);
            if (takeFocus) {
                gtk_window_present(window_);
                gtk_widget_grab_focus(area_);
            }
            if (popup_) GrabForPopup();
        } else {
            gtk_widget_hide(GTK_WIDGET(window_));
        }
    }
    bool IsVisible() const override { return gtk_widget_get_visible(GTK_WIDGET(window_)); }

    void SetRect(const Rect& rect) override {
        rect_ = rect;
        gtk_widget_set_size_request(GTK_WIDGET(window_), rect.Width(), rect.Height());
        gtk_window_resize(window_, rect.Width(), rect.Height());
        gtk_window_move(window_, rect.left, rect.top);
        host_.OnNativeResize({rect.Width(), rect.Height()});
    }
    Rect GetRect() const override { return rect_; }
    void SetTitle(const std::string& title) override { gtk_window_set_title(window_, title.c_str()); }
    std::string GetTitle() const override {
        const char* t = gtk_window_get_title(window_);
        return t ? t : "";
    }
    void Invalidate(const Rect& r) override {
        if (r.IsEmpty()) return;
        gtk_widget_queue_draw_area(area_, r.left, r.top, r.Width(), r.Height());
    }
    void Minimize() override { gtk_window_iconify(window_); }
    bool IsMinimized() const override { return iconified_; }
    void ToggleMaximize() override {
        if (maximized_)
            gtk_window_unmaximize(window_);
        else
            gtk_window_maximize(window_);
    }
    bool IsMaximized() const override { return maximized_; }
    void SetEnabled(bool enabled) override { gtk_widget_set_sensitive(GTK_WIDGET(window_), enabled); }
    bool IsEnabled() const override { return gtk_widget_get_sensitive(GTK_WIDGET(window_)); }
    void BeginMove(Point pt) override {
        gint rootX = 0, rootY = 0;
        gtk_window_get_position(window_, &rootX, &rootY);
        gtk_window_begin_move_drag(window_, 1, rootX + pt.x, rootY + pt.y, gtk_get_current_event_time());
    }
    void WarpPointer(Point pt) override {
        GdkWindow* w = gtk_widget_get_window(area_);
        if (!w) return;
        gint originX = 0, originY = 0;
        gdk_window_get_origin(w, &originX, &originY);
        GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
        gdk_device_warp(pointer, gtk_widget_get_screen(area_), originX + pt.x, originY + pt.y);
    }
    std::optional<Point> PointerPosition() const override {
        GdkWindow* w = gtk_widget_get_window(area_);
        if (!w) return std::nullopt;
        gint x = 0, y = 0;
        gdk_window_get_device_position(
            w, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())), &x, &y,
            nullptr);
        return Point{x, y};
    }

  private:
    void GrabForPopup() {
        GdkWindow* w = gtk_widget_get_window(GTK_WIDGET(window_));
        if (!w) return;
        GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
        grabbed_ = gdk_seat_grab(seat, w, GDK_SEAT_CAPABILITY_ALL, TRUE, nullptr, nullptr, nullptr,
                                 nullptr) == GDK_GRAB_SUCCESS;
    }

    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
        auto* self = static_cast<GtkNativeWindow*>(data);
        double x1, y1, x2, y2;
        cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
        CairoCanvas canvas(cr);
        self->host_.OnNativePaint(canvas, {int(x1), int(y1), int(std::ceil(x2)), int(std::ceil(y2))});
        return TRUE;
    }
    static gboolean OnButtonPress(GtkWidget*, GdkEventButton* e, gpointer data) {
        auto* self = static_cast<GtkNativeWindow*>(data);
        Point pt = PointOf(e->x, e->y);
        if (self->popup_ &&
            (pt.x < 0 || pt.y < 0 || pt.x >= self->rect_.Width() || pt.y >= self->rect_.Height())) {
            // A press outside a grabbing pop-up dismisses it, as losing the focus would.
            self->host_.OnNativeFocusChanged(false);
            return TRUE;
        }
        unsigned mods = ModifiersOf(e->state);
        PaintManager& m = self->host_.GetManager();
        if (e->type == GDK_2BUTTON_PRESS && e->button == 1) {
            if (m.OnDoubleClick(pt, mods)) self->host_.SendMessage(kWmNcLButtonDblClk, 2, 0);
            return TRUE;
        }
        if (e->type != GDK_BUTTON_PRESS) return TRUE;
        gtk_widget_grab_focus(self->area_);
        switch (e->button) {
            case 1:
                if (m.OnButtonDown(pt, mods)) self->BeginMove(pt);
                break;
            case 2:
                m.OnOtherButton(kWmMButtonDown, pt, 0);
                break;
            case 3:
                m.OnRButtonDown(pt, mods);
                break;
            case 8:
                m.OnOtherButton(kWmXButtonDown, pt, 1);
                break;
            case 9:
                m.OnOtherButton(kWmXButtonDown, pt, 2);
                break;
            default:
                break;
        }
        return TRUE;
    }
    static gboolean OnButtonRelease(GtkWidget*, GdkEventButton* e, gpointer data) {
        auto* self = static_cast<GtkNativeWindow*>(data);
        Point pt = PointOf(e->x, e->y);
        unsigned mods = ModifiersOf(e->state);
        PaintManager& m = self->host_.GetManager();
        switch (e->button) {
            case 1:
                m.OnButtonUp(pt, mods);
                break;
            case 2:
                m.OnOtherButton(kWmMButtonUp, pt, 0);
                break;
            case 3:
                m.OnRButtonUp(pt, mods);
                break;
            case 8:
                m.OnOtherButton(kWmXButtonUp, pt, 1);
                break;
            case 9:
                m.OnOtherButton(kWmXButtonUp, pt, 2);
                break;
            default:
                break;
        }
        return TRUE;
    }
    static gboolean OnMotion(GtkWidget*, GdkEventMotion* e, gpointer data) {
        auto* self = static_cast<GtkNativeWindow*>(data);
        self->host_.GetManager().OnMouseMove(PointOf(e->x, e->y), ModifiersOf(e->state));
        return TRUE;
    }
    static gboolean OnLeave(GtkWidget*, GdkEventCrossing*, gpointer data) {
        static_cast<GtkNativeWindow*>(data)->host_.GetManager().OnMouseLeaveWindow();
        return TRUE;
    }
    static gboolean OnScroll(GtkWidget*, GdkEventScroll* e, gpointer data) {
        auto* self = static_cast<GtkNativeWindow*>(data);
        int delta = 0;
        if (e->direction == GDK_SCROLL_UP)
            delta = 120;
        else if (e->direction == GDK_SCROLL_DOWN)
            delta = -120;
        else if (e->direction == GDK_SCROLL_SMOOTH)
            delta = static_cast<int>(-e->delta_y * 120);
        if (delta) self->host_.GetManager().OnWheel(PointOf(e->x, e->y), delta, ModifiersOf(e->state));
        return TRUE;
    }
    static gboolean OnKeyPress(GtkWidget*, GdkEventKey* e, gpointer data) {
        auto* self = static_cast<GtkNativeWindow*>(data);
        PaintManager& m = self->host_.GetManager();
        unsigned mods = ModifiersOf(e->state);
        if (uint32_t vk = VirtualKeyFromGdk(e->keyval, e->hardware_keycode)) m.OnKeyDown(vk, mods);
        gunichar c = gdk_keyval_to_unicode(e->keyval);
        if (c >= 0x20 && c != 0x7F && !(mods & (kModCtrl | kModAlt))) {
            char buf[8] = {};
            g_unichar_to_utf8(c, buf);
            m.OnChar(buf, mods);
        }
        return TRUE;
    }
    static gboolean OnKeyRelease(GtkWidget*, GdkEventKey* e, gpointer data) {
        auto* self = static_cast<GtkNativeWindow*>(data);
        if (uint32_t vk = VirtualKeyFromGdk(e->keyval, e->hardware_keycode))
            self->host_.GetManager().OnKeyUp(vk, ModifiersOf(e->state));
        return TRUE;
    }
    static gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer data) {
        static_cast<GtkNativeWindow*>(data)->host_.OnNativeFocusChanged(true);
        return FALSE;
    }
    static gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer data) {
        static_cast<GtkNativeWindow*>(data)->host_.OnNativeFocusChanged(false);
        return FALSE;
    }
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
        static_cast<GtkNativeWindow*>(data)->host_.OnNativeCloseRequest();
        return TRUE;  // the toolkit destroys the window itself
    }
    static gboolean OnConfigure(GtkWidget*, GdkEventConfigure* e, gpointer data) {
        auto* self = static_cast<GtkNativeWindow*>(data);
        self->rect_ = {e->x, e->y, e->x + e->width, e->y + e->height};
        self->host_.OnNativeResize({e->width, e->height});
        return FALSE;
    }
    static gboolean OnWindowState(GtkWidget*, GdkEventWindowState* e, gpointer data) {
        auto* self = static_cast<GtkNativeWindow*>(data);
        self->iconified_ = e->new_window_state & GDK_WINDOW_STATE_ICONIFIED;
        self->maximized_ = e->new_window_state & GDK_WINDOW_STATE_MAXIMIZED;
        return FALSE;
    }

    WindowImplBase& host_;
    GtkWindow* window_ = nullptr;
    GtkWidget* area_ = nullptr;
    Rect rect_;
    bool popup_ = false;
    bool grabbed_ = false;
    bool iconified_ = false;
    bool maximized_ = false;
};

struct GtkBackend::TimerData {
    GtkBackend* backend;
    uint64_t id;
    guint source;
    std::function<void()> fire;
};

std::unique_ptr<GtkBackend> GtkBackend::Create() {
    // Every window's WM_CLASS is "oakridge", "Oakridge": the desktop groups them under the program.
    g_set_prgname("oakridge");
    gdk_set_program_class("Oakridge");
    if (!gtk_init_check(nullptr, nullptr)) return nullptr;
    // Our windows draw themselves; GTK's own (file choosers, their questions, the error dialog)
    // take the theme's dark variant so they match them.
    if (GtkSettings* settings = gtk_settings_get_default())
        g_object_set(settings, "gtk-application-prefer-dark-theme", TRUE, nullptr);
    return std::unique_ptr<GtkBackend>(new GtkBackend());
}

void GtkBackend::ShowFatalError(const std::string& title, const std::string& text) {
    // The text may name paths, which need not be UTF-8.
    gchar* validText = g_utf8_make_valid(text.c_str(), -1);
    gchar* validTitle = g_utf8_make_valid(title.c_str(), -1);
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                               GTK_BUTTONS_CLOSE, "%s", validText);
    gtk_window_set_title(GTK_WINDOW(dialog), validTitle);
    g_free(validText);
    g_free(validTitle);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    // Let the display take the dialog down before the process ends.
    while (gtk_events_pending()) gtk_main_iteration();
}

GtkBackend::~GtkBackend() {
    for (auto& [id, t] : timers_) {
        g_source_remove(t->source);
        delete t;
    }
}

uint32_t GtkBackend::ToolTipDelayMs() const {
    // Newer GTK versions ignore the setting themselves but still report what the desktop asks for.
    gint timeout = 500;
    if (GtkSettings* settings = gtk_settings_get_default())
        g_object_get(settings, "gtk-tooltip-timeout", &timeout, nullptr);
    return timeout > 0 ? static_cast<uint32_t>(timeout) : 500;
}

std::unique_ptr<NativeWindow> GtkBackend::CreateNativeWindow(WindowImplBase& host, NativeWindow* owner,
                                                             const WindowSpec& spec) {
    GtkWindow* ownerWindow = owner ? static_cast<GtkNativeWindow*>(owner)->Gtk() : nullptr;
    return std::make_unique<GtkNativeWindow>(host, ownerWindow, spec);
}

void GtkBackend::Post(std::function<void()> task) {
    auto* heap = new std::function<void()>(std::move(task));
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            auto* fn = static_cast<std::function<void()>*>(data);
            (*fn)();
            return G_SOURCE_REMOVE;
        },
        heap, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

int GtkBackend::Run() {
    while (!quit_) gtk_main_iteration_do(TRUE);
    return quitCode_;
}

void GtkBackend::Quit(int code) {
    quitCode_ = code;
    quit_ = true;
    g_main_context_wakeup(nullptr);
}

void GtkBackend::RunModal(WindowImplBase&, const std::function<bool()>& done) {
    while (!done() && !quit_) gtk_main_iteration_do(TRUE);
}

uint64_t GtkBackend::StartTimer(uint32_t elapseMs, std::function<void()> fire) {
    auto* t = new TimerData{this, nextTimer_++, 0, std::move(fire)};
    t->source = g_timeout_add(
        std::max<uint32_t>(1, elapseMs),
        [](gpointer data) -> gboolean {
            auto* timer = static_cast<TimerData*>(data);
            auto callback = timer->fire;  // may stop this timer
            callback();
            return G_SOURCE_CONTINUE;
        },
        t);
    timers_[t->id] = t;
    return t->id;
}

void GtkBackend::StopTimer(uint64_t id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    g_source_remove(it->second->source);
    // The callback may be running right now; free the data once the loop is back.
    TimerData* data = it->second;
    timers_.erase(it);
    g_idle_add(
        [](gpointer d) -> gboolean {
            delete static_cast<TimerData*>(d);
            return G_SOURCE_REMOVE;
        },
        data);
}

Rect GtkBackend::WorkArea() const {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    if (!monitor) return {0, 0, 1920, 1080};
    GdkRectangle r;
    gdk_monitor_get_workarea(monitor, &r);
    return {r.x, r.y, r.x + r.width, r.y + r.height};
}

bool GtkBackend::IsCompositing() const {
    return gdk_screen_is_composited(gdk_screen_get_default());
}

namespace {

// `pattern` with its "%s" replaced by `value`; translated patterns are never used as formats.
std::string Fill(const char* pattern, const char* value) {
    std::string text = pattern;
    size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

// The GTK chooser and the replace question, for RunFileDialog. The question borrows GTK's own
// wording, and with it the desktop's translation, since the chooser beside it speaks that language.
class GtkFileChooserSteps final : public FileChooser {
  public:
    explicit GtkFileChooserSteps(GtkWindow* parent) : parent_(parent) {}

    std::optional<std::string> Pick(const FileDialogRequest& request, bool chooserConfirms) override {
        GtkWidget* dialog = gtk_file_chooser_dialog_new(
            request.title.c_str(), parent_,
            request.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
            GTK_RESPONSE_CANCEL, request.save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
        if (!request.filterPattern.empty()) {
            GtkFileFilter* filter = gtk_file_filter_new();
            gtk_file_filter_set_name(filter, request.filterName.c_str());
            gtk_file_filter_add_pattern(filter, request.filterPattern.c_str());
            gtk_file_chooser_add_filter(chooser, filter);
        }
        if (request.save) gtk_file_chooser_set_do_overwrite_confirmation(chooser, chooserConfirms);
        if (!request.initialFolder.empty())
            gtk_file_chooser_set_current_folder(chooser, request.initialFolder.c_str());
        if (request.save && !request.initialName.empty())
            gtk_file_chooser_set_current_name(chooser, request.initialName.c_str());
        std::optional<std::string> result;
        if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
            if (char* name = gtk_file_chooser_get_filename(chooser)) {
                result = name;
                g_free(name);
            }
        }
        gtk_widget_destroy(dialog);
        return result;
    }

    bool ConfirmReplace(const std::string& path) override {
        gchar* name = g_filename_display_basename(path.c_str());
        gchar* folderPath = g_path_get_dirname(path.c_str());
        gchar* folder = g_filename_display_basename(folderPath);
        std::string primary =
            Fill(g_dgettext("gtk30", "A file named “%s” already exists.  Do you want to replace it?"), name);
        std::string secondary =
            Fill(g_dgettext("gtk30",
                            "The file already exists in “%s”.  Replacing it will overwrite its contents."),
                 folder);
        GtkWidget* box = gtk_message_dialog_new(
            parent_, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
            GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, "%s", primary.c_str());
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(box), "%s", secondary.c_str());
        gtk_dialog_add_buttons(GTK_DIALOG(box), g_dgettext("gtk30", "_Cancel"), GTK_RESPONSE_CANCEL,
                               g_dgettext("gtk30", "_Replace"), GTK_RESPONSE_ACCEPT, nullptr);
        gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_CANCEL);
        bool replace = gtk_dialog_run(GTK_DIALOG(box)) == GTK_RESPONSE_ACCEPT;
        gtk_widget_destroy(box);
        g_free(folder);
        g_free(folderPath);
        g_free(name);
        return replace;
    }

  private:
    GtkWindow* parent_;
};

}  // namespace

std::optional<std::string> GtkBackend::ShowFileDialog(const FileDialogRequest& request, NativeWindow* owner) {
    GtkWindow* parent = owner ? static_cast<GtkNativeWindow*>(owner)->Gtk() : nullptr;
    GtkFileChooserSteps chooser(parent);
    return RunFileDialog(request, chooser);
}

}  // namespace ui
