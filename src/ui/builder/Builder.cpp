#include "ui/builder/Builder.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <sstream>

#include "ui/builder/AttributeParsers.h"
#include "ui/builder/ControlFactory.h"
#include "ui/core/Container.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Toolkit.h"
#include "ui/text/TextTable.h"
#include "ui/text/Utf8.h"

namespace ui {

namespace {

constexpr int kMaxIncludeDepth = 8;

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Raw bytes and character references (a reference may name a surrogate) can both leave invalid
// UTF-8 in the parsed tree; everything built from it, texts and reports alike, must be valid.
void MakeTreeValidUtf8(pugi::xml_document& doc) {
    struct Walker final : pugi::xml_tree_walker {
        bool for_each(pugi::xml_node& node) override {
            auto fix = [](const char* text, const auto& set) {
                if (!IsValidUtf8(text)) set(MakeValidUtf8(text).c_str());
            };
            fix(node.name(), [&](const char* v) { node.set_name(v); });
            fix(node.value(), [&](const char* v) { node.set_value(v); });
            for (auto attr : node.attributes()) {
                fix(attr.name(), [&](const char* v) { attr.set_name(v); });
                fix(attr.value(), [&](const char* v) { attr.set_value(v); });
            }
            return true;
        }
    } walker;
    doc.traverse(walker);
}

}  // namespace

struct Builder::Impl {
    PaintManager& manager;
    Callback callback;
    BuildReport& report;
    std::map<std::string, std::string> defaults;  // lower-case class → attribute list
    int depth = 0;

    struct Source {
        std::string file;
        const std::string* text;
    };

    static int LineOf(const Source& src, ptrdiff_t offset) {
        if (offset < 0) return 0;
        size_t end = std::min(static_cast<size_t>(offset), src.text->size());
        return 1 + static_cast<int>(
                       std::count(src.text->begin(), src.text->begin() + static_cast<ptrdiff_t>(end), '\n'));
    }

    void Problem(const Source& src, const pugi::xml_node& node, std::string message) {
        report.Add(src.file, LineOf(src, node.offset_debug()), std::move(message));
    }

    void ApplyWindowAttributes(const Source& src, const pugi::xml_node& node) {
        for (auto attr : node.attributes()) {
            std::string n = ToLower(attr.name());
            std::string_view v = attr.value();
            bool ok = true;
            if (n == "size") {
                auto s = ParseSize(v);
                ok = s.has_value();
                if (s) manager.SetInitSize(*s);
            } else if (n == "caption") {
                auto r = ParseRect(v);
                ok = r.has_value();
                if (r) manager.SetCaptionRect(*r);
            } else if (n == "roundcorner") {
                auto s = ParseSize(v);
                ok = s.has_value();
                if (s) manager.SetRoundCorner(s->cx);
            } else if (n == "mininfo" || n == "maxinfo") {
                ok = ParseSize(v).has_value();
            } else if (n == "sizebox") {
                ok = ParseRect(v).has_value();
            } else if (n == "bktrans" || n == "showdirty") {
                ok = ParseBool(v).has_value();
            } else {
                Problem(src, node, "unknown attribute '" + std::string(attr.name()) + "' on <Window>");
                continue;
            }
            if (!ok)
                Problem(src, node,
                        "bad value '" + std::string(v) + "' for '" + attr.name() + "' on <Window>");
        }
    }

    void ParseFont(const Source& src, const pugi::xml_node& node) {
        FontSpec font;
        int id = node.attribute("id") ? node.attribute("id").as_int(-1) : manager.GetCustomFontCount();
        if (auto a = node.attribute("name")) font.face = a.value();
        if (auto a = node.attribute("size")) {
            auto s = ParseInt(a.value());
            if (!s || *s <= 0)
                Problem(src, node, "bad font size '" + std::string(a.value()) + "'");
            else
                font.size = *s;
        }
        font.bold = node.attribute("bold").as_bool(false);
        font.underline = node.attribute("underline").as_bool(false);
        font.italic = node.attribute("italic").as_bool(false);
        bool shared = node.attribute("shared").as_bool(false);
        if (id < 0) {
            Problem(src, node, "font without a valid id");
            return;
        }
        manager.AddFont(id, font, shared);
        if (node.attribute("default").as_bool(false)) manager.SetDefaultFont(font);
    }

    void ParseMultiLanguage(const pugi::xml_node& node) {
        auto id = node.attribute("id");
        auto value = node.attribute("value");
        if (!id || !value) return;
        auto n = ParseInt(id.value());
        if (!n || *n < 0) return;
        TextTable::Instance().Set(*n, value.value());
    }

    static bool IsResourceOrInclude(std::string_view element) {
        for (const char* name : {"Font", "Default", "MultiLanguage", "Image", "Include"})
            if (EqualsNoCase(element, name)) return true;
        return false;
    }

    // Handles the non-control elements; true when `node` was one of them.
    bool ParseResourceElement(const Source& src, const pugi::xml_node& node) {
        std::string name = ToLower(node.name());
        if (name == "font") {
            ParseFont(src, node);
            return true;
        }
        if (name == "default") {
            std::string cls = node.attribute("name").value();
            if (cls.empty())
                Problem(src, node, "<Default> without a name");
            else {
                defaults[ToLower(cls)] = node.attribute("value").value();
                manager.SetDefaultAttributeList(cls, node.attribute("value").value());
            }
            return true;
        }
        if (name == "multilanguage") {
            ParseMultiLanguage(node);
            return true;
        }
        if (name == "image") return true;  // images are loaded on first use
        return false;
    }

    void ApplyAttributes(const Source& src, const pugi::xml_node& node, Control& control) {
        auto apply = [&](std::string_view name, std::string_view value) {
            switch (control.SetAttribute(name, value)) {
                case AttrResult::Ok:
                    break;
                case AttrResult::Unknown:
                    Problem(src, node,
                            "unknown attribute '" + std::string(name) + "' on <" + node.name() + ">");
                    break;
                case AttrResult::BadValue:
                    Problem(src, node,
                            "bad value '" + std::string(value) + "' for '" + std::string(name) + "' on <" +
                                node.name() + ">");
                    break;
            }
        };
        if (auto it = defaults.find(ToLower(node.name())); it != defaults.end()) {
            auto list = ParseAttributeList(it->second);
            if (!list)
                Problem(src, node, "malformed <Default> value for <" + std::string(node.name()) + ">");
            else
                for (auto& [n, v] : *list) apply(n, v);
        }
        for (auto attr : node.attributes()) apply(attr.name(), attr.value());
    }

    // Null for a class neither the callback nor the factory knows.
    std::unique_ptr<Control> NewControl(const pugi::xml_node& node) {
        std::unique_ptr<Control> control;
        if (callback) control = callback(node.name());
        if (!control) control = ControlFactory::Instance().Create(node.name());
        return control;
    }

    std::unique_ptr<Control> CreateControlFor(const Source& src, const pugi::xml_node& node) {
        auto control = NewControl(node);
        if (!control) {
            Problem(src, node, "unknown element <" + std::string(node.name()) + "> skipped");
            return nullptr;
        }
        FillControl(src, node, *control);
        return control;
    }

    void FillControl(const Source& src, const pugi::xml_node& node, Control& control) {
        ApplyAttributes(src, node, control);
        auto* container = dynamic_cast<Container*>(&control);
        for (auto child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            if (!container) {
                Problem(src, child, "<" + std::string(node.name()) + "> cannot hold <" + child.name() + ">");
                continue;
            }
            AddChildren(src, child, container, nullptr);
        }
    }

    // Builds `node` (a control or an Include) into `parent`, or into `out` when there is no parent.
    void AddChildren(const Source& src, const pugi::xml_node& node, Container* parent,
                     std::vector<std::unique_ptr<Control>>* out) {
        if (ParseResourceElement(src, node)) return;
        if (EqualsNoCase(node.name(), "Include")) {
            int count = std::max(1, node.attribute("count").as_int(1));
            for (int i = 0; i < count; ++i) Include(src, node, node.attribute("source").value(), parent, out);
            return;
        }
        auto control = CreateControlFor(src, node);
        if (!control) return;
        if (parent)
            parent->Add(std::move(control));
        else
            out->push_back(std::move(control));
    }

    void Include(const Source& src, const pugi::xml_node& at, const std::string& source, Container* parent,
                 std::vector<std::unique_ptr<Control>>* out) {
        if (depth >= kMaxIncludeDepth) {
            Problem(src, at, "includes nested too deep at '" + source + "'");
            return;
        }
        std::string path = Toolkit::ResolvePath(source);
        auto text = ReadWholeFile(path);
        if (!text) {
            Problem(src, at, "cannot open included file '" + source + "'");
            return;
        }
        ++depth;
        ParseDocument(*text, source, parent, out);
        --depth;
    }

    bool ParseDocument(const std::string& text, const std::string& file, Container* parent,
                       std::vector<std::unique_ptr<Control>>* out) {
        Source src{file, &text};
        pugi::xml_document doc;
        auto result = doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
        if (!result) {
            report.Add(file, LineOf(src, result.offset),
                       std::string("malformed XML: ") + result.description());
            return false;
        }
        pugi::xml_node root = doc.document_element();
        if (!root) {
            report.Add(file, 1, "empty document");
            return false;
        }
        MakeTreeValidUtf8(doc);
        if (EqualsNoCase(root.name(), "Window")) {
            ApplyWindowAttributes(src, root);
            AddChildrenOf(src, root, parent, out);
        } else if (IsResourceOrInclude(root.name())) {
            AddChildren(src, root, parent, out);
        } else if (auto control = NewControl(root)) {
            FillControl(src, root, *control);
            if (parent)
                parent->Add(std::move(control));
            else
                out->push_back(std::move(control));
        } else {
            // Any other root holds its document the way <Window> does: language files may name
            // their root as they like, and a misnamed skin root still builds what it can.
            Problem(src, root, "unknown root element <" + std::string(root.name()) + "> read as <Window>");
            AddChildrenOf(src, root, parent, out);
        }
        return true;
    }

    void AddChildrenOf(const Source& src, const pugi::xml_node& node, Container* parent,
                       std::vector<std::unique_ptr<Control>>* out) {
        for (auto child : node.children())
            if (child.type() == pugi::node_element) AddChildren(src, child, parent, out);
    }
};

BuildResult Builder::Build(const std::string& skinPath, PaintManager& manager, Callback callback,
                           Container* parent) {
    std::string path = Toolkit::ResolvePath(skinPath);
    auto text = ReadWholeFile(path);
    if (!text) {
        BuildResult result;
        result.report.Add(Toolkit::NormaliseSeparators(skinPath), 0, "cannot open skin file '" + path + "'");
        return result;
    }
    return BuildFromString(*text, Toolkit::NormaliseSeparators(skinPath), manager, std::move(callback),
                           parent);
}

BuildResult Builder::BuildFromString(std::string_view xml, const std::string& nameForReports,
                                     PaintManager& manager, Callback callback, Container* parent) {
    BuildResult result;
    Impl impl{manager, std::move(callback), result.report, {}, 0};
    std::vector<std::unique_ptr<Control>> top;
    std::string text(xml);
    int before = parent ? parent->GetCount() : 0;
    result.ok = impl.ParseDocument(text, nameForReports, parent, &top);
    if (parent) {
        result.first = parent->GetItemAt(before);
    } else if (!top.empty()) {
        if (top.size() > 1)
            result.report.Add(nameForReports, 0, "more than one top-level control; only the first is used");
        result.root = std::move(top.front());
        result.first = result.root.get();
    }
    // Names must be unique within one document so look-ups are unambiguous.
    std::map<std::string, int> seen;
    std::vector<Control*> stack;
    if (result.first) stack.push_back(result.first);
    while (!stack.empty()) {
        Control* c = stack.back();
        stack.pop_back();
        if (!c->GetName().empty() && ++seen[ToLower(c->GetName())] == 2)
            result.report.Add(nameForReports, 0, "duplicate control name '" + c->GetName() + "'");
        if (auto* container = dynamic_cast<Container*>(c))
            for (int i = 0; i < container->GetCount(); ++i) stack.push_back(container->GetItemAt(i));
    }
    return result;
}

}  // namespace ui
