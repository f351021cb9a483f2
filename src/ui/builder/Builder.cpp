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
// Counted includes nest, so a document could ask for more copies than fit in memory.
constexpr size_t kMaxIncludes = 4096;

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
    using Parameters = std::map<std::string, std::string>;

    Impl(PaintManager& m, Callback cb, BuildReport& r) : manager(m), callback(std::move(cb)), report(r) {}

    PaintManager& manager;
    Callback callback;
    BuildReport& report;
    std::map<std::string, std::string> defaults;  // lower-case class → attribute list
    int depth = 0;

    // Every named control this document and its includes built, with where it was written.
    // Custom controls that load their own skin document are checked by that build, so names
    // only need to be unique among the controls of one document.
    struct Built {
        std::string name;
        std::string file;
        int line;
    };
    std::vector<Built> built;
    std::vector<std::pair<std::string, int>> topLines;  // where each top-level control was written
    std::vector<std::string> included;
    size_t includeAttempts = 0;
    bool tooManyIncludes = false;

    struct Source {
        std::string file;
        const std::string* text;
        // Taken before anything renames a node: pugixml forgets the offset of a renamed node.
        std::map<const void*, int> lines;
        const Parameters* parameters = nullptr;
    };

    static int LineOf(const std::string& text, ptrdiff_t offset) {
        if (offset < 0) return 0;
        size_t end = std::min(static_cast<size_t>(offset), text.size());
        return 1 +
               static_cast<int>(std::count(text.begin(), text.begin() + static_cast<ptrdiff_t>(end), '\n'));
    }

    // Visits every element below and including `root` in document order, without recursion: a
    // hostile document may nest deeper than the stack allows.
    template <class Visit>
    static void ForEachElement(pugi::xml_node root, Visit visit) {
        for (auto node = root; node;) {
            if (node.type() == pugi::node_element) visit(node);
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
            while (node && !node.next_sibling() && node != root) node = node.parent();
            if (!node || node == root) break;
            node = node.next_sibling();
        }
    }

    static void RecordLines(Source& src, const pugi::xml_node& root) {
        // One pass over the text for all elements; offsets grow in document order.
        std::vector<std::pair<ptrdiff_t, const void*>> offsets;
        ForEachElement(root, [&](pugi::xml_node node) {
            offsets.emplace_back(node.offset_debug(), node.internal_object());
        });
        std::sort(offsets.begin(), offsets.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        int line = 1;
        ptrdiff_t at = 0;
        const std::string& text = *src.text;
        for (auto& [offset, node] : offsets) {
            if (offset < 0) {
                src.lines[node] = 0;
                continue;
            }
            ptrdiff_t end = std::min(offset, static_cast<ptrdiff_t>(text.size()));
            line += static_cast<int>(std::count(text.begin() + at, text.begin() + end, '\n'));
            at = end;
            src.lines[node] = line;
        }
    }

    static int LineOf(const Source& src, const pugi::xml_node& node) {
        auto it = src.lines.find(node.internal_object());
        return it != src.lines.end() ? it->second : LineOf(*src.text, node.offset_debug());
    }

    void Problem(const Source& src, const pugi::xml_node& node, std::string message) {
        report.Add(src.file, LineOf(src, node), std::move(message));
    }

    // Replaces "${name}" in every attribute value with the parameter of that name. A document
    // included with parameters (`<Include source="…" model="Ibis"/>`) can so be written once
    // for several models.
    void SubstituteParameters(const Source& src, pugi::xml_node root) {
        ForEachElement(root, [&](pugi::xml_node node) {
            for (auto attr : node.attributes()) {
                std::string_view value = attr.value();
                if (value.find("${") != std::string_view::npos)
                    attr.set_value(Substitute(src, node, value).c_str());
            }
        });
    }

    std::string Substitute(const Source& src, const pugi::xml_node& node, std::string_view value) {
        std::string out;
        size_t at = 0;
        while (at < value.size()) {
            size_t start = value.find("${", at);
            if (start == std::string_view::npos) break;
            size_t end = value.find('}', start + 2);
            if (end == std::string_view::npos) {
                Problem(src, node, "unterminated parameter in '" + std::string(value) + "'");
                break;
            }
            out.append(value.substr(at, start - at));
            std::string name(value.substr(start + 2, end - start - 2));
            const Parameters* params = src.parameters;
            auto it = params ? params->find(ToLower(name)) : Parameters::const_iterator{};
            if (params && it != params->end()) {
                out += it->second;
            } else {
                Problem(src, node,
                        "unknown parameter '${" + name + "}' on <" + std::string(node.name()) + ">");
                out.append(value.substr(start, end + 1 - start));
            }
            at = end + 1;
        }
        out.append(value.substr(std::min(at, value.size())));
        return out;
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
            } else if (n == "focuscolor") {
                auto c = ParseColor(v);
                ok = c.has_value();
                if (c) manager.SetFocusColor(*c);
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
        if (!control.GetName().empty()) built.push_back({control.GetName(), src.file, LineOf(src, node)});
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
            IncludeAll(src, node, parent, out);
            return;
        }
        if (auto control = CreateControlFor(src, node)) Place(src, node, std::move(control), parent, out);
    }

    void Place(const Source& src, const pugi::xml_node& node, std::unique_ptr<Control> control,
               Container* parent, std::vector<std::unique_ptr<Control>>* out) {
        if (parent) {
            parent->Add(std::move(control));
        } else {
            out->push_back(std::move(control));
            topLines.push_back({src.file, LineOf(src, node)});
        }
    }

    // Attributes other than `source` and `count` become parameters of the included document, on
    // top of the ones this document was given. Repeated includes number their copies in
    // `${index}`, from the Include's own `index` (default 1) on.
    void IncludeAll(const Source& src, const pugi::xml_node& node, Container* parent,
                    std::vector<std::unique_ptr<Control>>* out) {
        Parameters params = src.parameters ? *src.parameters : Parameters{};
        for (auto attr : node.attributes()) {
            std::string n = ToLower(attr.name());
            if (n != "source" && n != "count") params[n] = attr.value();
        }
        int count = 1;
        if (auto a = node.attribute("count")) {
            auto n = ParseInt(a.value());
            if (!n || *n < 1 || *n > 1000)
                Problem(src, node, "bad value '" + std::string(a.value()) + "' for 'count' on <Include>");
            else
                count = *n;
        }
        int first = 1;
        if (auto it = params.find("index"); it != params.end()) {
            auto n = ParseInt(it->second);
            if (!n)
                Problem(src, node, "bad value '" + it->second + "' for 'index' on <Include>");
            else
                first = *n;
        }
        for (int i = 0; i < count; ++i) {
            if (++includeAttempts > kMaxIncludes) {
                if (!tooManyIncludes)
                    Problem(src, node,
                            "more than " + std::to_string(kMaxIncludes) + " includes; the rest are left out");
                tooManyIncludes = true;
                return;
            }
            params["index"] = std::to_string(first + i);
            Include(src, node, node.attribute("source").value(), params, parent, out);
        }
    }

    void Include(const Source& src, const pugi::xml_node& at, const std::string& source,
                 const Parameters& params, Container* parent, std::vector<std::unique_ptr<Control>>* out) {
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
        std::string file = Toolkit::NormaliseSeparators(source);
        included.push_back(file);
        ParseDocument(*text, file, &params, parent, out);
        --depth;
    }

    bool ParseDocument(const std::string& text, const std::string& file, const Parameters* params,
                       Container* parent, std::vector<std::unique_ptr<Control>>* out) {
        Source src{file, &text, {}, params};
        pugi::xml_document doc;
        auto result = doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
        if (!result) {
            report.Add(file, LineOf(text, result.offset),
                       std::string("malformed XML: ") + result.description());
            return false;
        }
        pugi::xml_node root = doc.document_element();
        if (!root) {
            report.Add(file, 1, "empty document");
            return false;
        }
        RecordLines(src, root);
        MakeTreeValidUtf8(doc);
        SubstituteParameters(src, root);
        if (EqualsNoCase(root.name(), "Window")) {
            ApplyWindowAttributes(src, root);
            AddChildrenOf(src, root, parent, out);
        } else if (IsResourceOrInclude(root.name())) {
            AddChildren(src, root, parent, out);
        } else if (auto control = NewControl(root)) {
            FillControl(src, root, *control);
            Place(src, root, std::move(control), parent, out);
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
    Impl impl(manager, std::move(callback), result.report);
    std::vector<std::unique_ptr<Control>> top;
    std::string text(xml);
    int before = parent ? parent->GetCount() : 0;
    result.ok = impl.ParseDocument(text, nameForReports, nullptr, parent, &top);
    if (parent) {
        result.first = parent->GetItemAt(before);
    } else if (!top.empty()) {
        if (top.size() > 1)
            result.report.Add(impl.topLines[1].first, impl.topLines[1].second,
                              "more than one top-level control; only the first is used");
        result.root = std::move(top.front());
        result.first = result.root.get();
    }
    result.includes = impl.included;
    // Names must be unique within one document so look-ups are unambiguous.
    std::map<std::string, const Impl::Built*> seen;
    for (const auto& b : impl.built) {
        auto [it, added] = seen.emplace(ToLower(b.name), &b);
        if (!added)
            result.report.Add(b.file, b.line,
                              "duplicate control name '" + b.name + "' (first at " + it->second->file + ":" +
                                  std::to_string(it->second->line) + ")");
    }
    return result;
}

}  // namespace ui
