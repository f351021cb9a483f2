// Holds the fifteen language files to the text catalogue, and the skins and the code to the files:
// a reference to a number that some language lacks would show that language the previous one's text.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <set>
#include <sstream>

#include "LanguageCatalogue.h"

namespace oakridge::test {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = OAKRIDGE_SOURCE_DIR;
const fs::path kLanguageDir = kSourceDir / "res" / "Skin" / "Languages";

constexpr std::array<const char*, 15> kLanguageFiles = {
    "CA-French.xml", "Denmark.xml", "English.xml", "EU-French.xml",  "Finland.xml",
    "Germany.xml",   "Norway.xml",  "Poland.xml",  "Portuguese.xml", "Russian.xml",
    "SC.xml",        "Spanish.xml", "Sweden.xml",  "TC.xml",         "Thailand.xml",
};

// Numbers the program itself resolves; the catalogue may grow, but never lose these.
std::set<unsigned> NumbersTheProgramUses() {
    std::set<unsigned> numbers = {9, 39, 42, 43, 80, 81, 83, 88, 183, 195, 196, 200};
    const std::pair<unsigned, unsigned> ranges[] = {{15, 17},  {19, 25},   {27, 36},   {54, 56},  {78, 79},
                                                    {89, 106}, {115, 116}, {119, 131}, {300, 319}};
    for (const auto& [first, last] : ranges)
        for (unsigned n = first; n <= last; ++n) numbers.insert(n);
    return numbers;
}

// Product and maker names, which no language translates.
constexpr std::array<const char*, 7> kProductNames = {"Oakridge", "Lumenor", "Plover", "Heron",
                                                      "Egret",    "Ibis",    "Crane"};

// A real translation can agree with English on a handful of everyday words ("Macro", "Stop").
constexpr int kMaxCopiedEntries = 3;

struct Shipped {
    Catalogue catalogue;
    std::map<std::string, LanguageFile> files;
};

const Shipped& Data() {
    static const Shipped shipped = [] {
        Shipped s;
        s.catalogue = LoadCatalogue(kLanguageDir / "README.md");
        for (const char* name : kLanguageFiles) s.files.emplace(name, LoadLanguageFile(kLanguageDir / name));
        return s;
    }();
    return shipped;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += "\n  " + line;
    return out;
}

std::string FoldAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return s;
}

TEST(TextReferenceScan, FindsEveryReferenceAndReadsItAsDecimal) {
    struct Case {
        const char* text;
        std::vector<std::string> numbers;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"%{088}", {"88"}, {1}},
        {"%{88}", {"88"}, {1}},
        {"%{0}", {"0"}, {1}},
        {"%{000}", {"0"}, {1}},
        {"text=\"%{15}+%{17}\"", {"15", "17"}, {1, 1}},
        {"%{9} %{9}", {"9", "9"}, {1, 1}},
        {"100%%{5}", {"5"}, {1}},
        {"first\nsecond %{7}\n%{8}", {"7", "8"}, {2, 3}},
        {"%{}", {}, {}},
        {"%{12a}", {}, {}},
        {"%{-3}", {}, {}},
        {"%{ 3}", {}, {}},
        {"%{5", {}, {}},
        {"{5}", {}, {}},
        {"% {5}", {}, {}},
        {"%{00000000000000000000123456789012}", {"123456789012"}, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> numbers;
        std::vector<int> lines;
        for (const TextReference& ref : FindTextReferences(c.text)) {
            numbers.push_back(ref.number);
            lines.push_back(ref.line);
        }
        EXPECT_EQ(numbers, c.numbers);
        EXPECT_EQ(lines, c.lines);
    }
    unsigned number = 0;
    EXPECT_FALSE(ReferenceNumber("123456789012", number));  // no language file can hold it
    EXPECT_TRUE(ReferenceNumber("88", number));
    EXPECT_EQ(number, 88u);
}

TEST(LanguageFileReader, ReportsEveryProblemWithFileAndLine) {
    struct Case {
        const char* content;
        const char* problem;  // expected substring; empty: the file is clean
    };
    const Case cases[] = {
        {"<Window>\n  <MultiLanguage id=\"1\" value=\"a\"/>\n</Window>\n", ""},
        {"<Window>\n  <MultiLanguage id=\"1\" value=\"a\">\n</Window>\n", "probe.xml:3: malformed XML"},
        {"<Window>\n  <MultiLanguage id=\"1\" value=a/>\n</Window>\n", "probe.xml:2: malformed XML"},
        {"", "malformed XML"},
        {"<Skin>\n  <MultiLanguage id=\"1\" value=\"a\"/>\n</Skin>\n", "probe.xml:1: root element is <Skin>"},
        {"<Window>\n  <MultiLanguage value=\"a\"/>\n</Window>\n", "probe.xml:2: entry without id"},
        {"<Window>\n  <MultiLanguage id=\"1\"/>\n</Window>\n", "probe.xml:2: entry 1 has no value"},
        {"<Window>\n  <MultiLanguage id=\"-5\" value=\"a\"/>\n</Window>\n", "probe.xml:2: id \"-5\""},
        {"<Window>\n  <MultiLanguage id=\"088\" value=\"a\"/>\n</Window>\n", "probe.xml:2: id \"088\""},
        {"<Window>\n  <MultiLanguage id=\"9999999999\" value=\"a\"/>\n</Window>\n",
         "probe.xml:2: id \"9999999999\""},
        {"<Window>\n  <MultiLanguage id=\"1\" value=\"a\"/>\n  <MultiLanguage id=\"1\" "
         "value=\"b\"/>\n</Window>\n",
         "probe.xml:3: entry 1 given twice (first on line 2)"},
        {"<Window>\n  <Label id=\"1\" value=\"a\"/>\n</Window>\n", "probe.xml:2: unexpected element <Label>"},
    };
    const fs::path dir = fs::temp_directory_path() / ("oakridge-languages-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path probe = dir / "probe.xml";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        std::ofstream(probe, std::ios::binary | std::ios::trunc) << c.content;
        const LanguageFile file = LoadLanguageFile(probe);
        if (*c.problem == '\0') {
            EXPECT_TRUE(file.problems.empty()) << Join(file.problems);
        } else {
            ASSERT_EQ(file.problems.size(), 1u) << Join(file.problems);
            EXPECT_NE(file.problems[0].find(c.problem), std::string::npos) << file.problems[0];
        }
    }
    fs::remove_all(dir);
    EXPECT_FALSE(LoadLanguageFile(dir / "missing.xml").problems.empty());
}

TEST(LanguageCatalogue, IsWellFormedAndHoldsTheNumbersTheProgramUses) {
    const Catalogue& catalogue = Data().catalogue;
    ASSERT_TRUE(catalogue.problems.empty()) << Join(catalogue.problems);
    std::vector<std::string> missing;
    for (unsigned n : NumbersTheProgramUses())
        if (!catalogue.rows.contains(n)) missing.push_back(std::to_string(n));
    EXPECT_TRUE(missing.empty()) << "not in the catalogue:" << Join(missing);
}

TEST(LanguageFiles, FolderHoldsExactlyTheFifteenFiles) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(kLanguageDir))
        if (entry.path().extension() == ".xml") found.insert(entry.path().filename().string());
    EXPECT_EQ(found, std::set<std::string>(kLanguageFiles.begin(), kLanguageFiles.end()));
}

TEST(LanguageFiles, ParseWithoutProblems) {
    for (const auto& [name, file] : Data().files) EXPECT_TRUE(file.problems.empty()) << Join(file.problems);
}

TEST(LanguageFiles, HoldExactlyTheCatalogueNumbers) {
    const Catalogue& catalogue = Data().catalogue;
    for (const auto& [name, file] : Data().files) {
        std::vector<std::string> problems;
        for (const auto& [number, row] : catalogue.rows)
            if (!file.entries.contains(number))
                problems.push_back(name + " lacks " + std::to_string(number) +
                                   " (README.md:" + std::to_string(row.line) + ")");
        for (const auto& [number, entry] : file.entries)
            if (!catalogue.rows.contains(number))
                problems.push_back(name + ":" + std::to_string(entry.line) + ": " + std::to_string(number) +
                                   " is not in the catalogue");
        EXPECT_TRUE(problems.empty()) << Join(problems);
    }
}

TEST(LanguageFiles, EnglishMatchesTheCatalogue) {
    const LanguageFile& english = Data().files.at("English.xml");
    for (const auto& [number, row] : Data().catalogue.rows) {
        const auto it = english.entries.find(number);
        if (it != english.entries.end()) {
            EXPECT_EQ(it->second.value, row.english) << "text " << number << ", README.md:" << row.line;
        }
    }
}

TEST(LanguageFiles, EveryReferenceInSkinsAndCodeExistsInEveryLanguage) {
    struct Root {
        fs::path dir;
        std::set<std::string> extensions;
    };
    const Root roots[] = {{kSourceDir / "res" / "Skin" / "XML", {".xml"}},
                          {kSourceDir / "src", {".h", ".cpp"}}};
    int scannedFiles = 0;
    int references = 0;
    std::vector<std::string> problems;
    for (const Root& root : roots) {
        if (!fs::exists(root.dir)) continue;  // the layer has not landed yet
        for (const auto& entry : fs::recursive_directory_iterator(root.dir)) {
            if (!entry.is_regular_file() || !root.extensions.contains(entry.path().extension().string()))
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            if (!in) {
                problems.push_back(entry.path().string() + ": cannot be read");
                continue;
            }
            std::ostringstream content;
            content << in.rdbuf();
            ++scannedFiles;
            const std::string where = fs::relative(entry.path(), kSourceDir).string();
            for (const TextReference& ref : FindTextReferences(content.str())) {
                ++references;
                unsigned number = 0;
                if (!ReferenceNumber(ref.number, number)) {
                    problems.push_back(where + ":" + std::to_string(ref.line) + ": %{" + ref.number +
                                       "} can never be a text number");
                    continue;
                }
                for (const auto& [name, file] : Data().files)
                    if (!file.entries.contains(number))
                        problems.push_back(where + ":" + std::to_string(ref.line) + ": text " + ref.number +
                                           " is missing from " + name);
            }
        }
    }
    EXPECT_TRUE(problems.empty()) << Join(problems);
    std::cout << "scanned " << scannedFiles << " skin and source files, " << references
              << " text references\n";
}

TEST(LanguageFiles, TextsTheCodeComparesAreRight) {
    for (const auto& [name, file] : Data().files) {
        SCOPED_TRACE(name);
        const auto text = [&](unsigned n) {
            const auto it = file.entries.find(n);
            return it == file.entries.end() ? std::string() : it->second.value;
        };
        // The AZERTY remap applies while the current language's display name equals text 200.
        EXPECT_EQ(text(200), "French");
        // The key editor picks a rapid-fire preset by comparing item texts with 122 and 123.
        const std::set<std::string> rapidFire = {FoldAscii(text(122)), FoldAscii(text(123)),
                                                 FoldAscii(text(124))};
        EXPECT_EQ(rapidFire.size(), 3u) << "texts 122 to 124 must differ";
        EXPECT_EQ(text(88), "Oakridge");
        for (const auto& [number, entry] : file.entries) {
            const std::string& v = entry.value;
            EXPECT_FALSE(v.empty()) << name << ":" << entry.line;
            EXPECT_EQ(v.find("%{"), std::string::npos)
                << name << ":" << entry.line << ": reference inside a text";
            EXPECT_TRUE(v.empty() || (v.front() != ' ' && v.back() != ' '))
                << name << ":" << entry.line << ": leading or trailing space";
        }
    }
}

TEST(LanguageFiles, AreTranslationsNotCopiesOfEnglish) {
    const LanguageFile& english = Data().files.at("English.xml");
    for (const auto& [name, file] : Data().files) {
        if (name == "English.xml") continue;
        std::vector<std::string> copied;
        for (const auto& [number, row] : Data().catalogue.rows) {
            const auto ours = file.entries.find(number);
            const auto theirs = english.entries.find(number);
            if (!row.same && ours != file.entries.end() && theirs != english.entries.end() &&
                ours->second.value == theirs->second.value)
                copied.push_back(std::to_string(number) + " \"" + ours->second.value + "\"");
        }
        EXPECT_LE(static_cast<int>(copied.size()), kMaxCopiedEntries)
            << name << " reads like English:" << Join(copied);
    }
}

TEST(LanguageFiles, KeepProductNames) {
    const LanguageFile& english = Data().files.at("English.xml");
    for (const auto& [number, entry] : english.entries)
        for (const char* product : kProductNames) {
            if (entry.value.find(product) == std::string::npos) continue;
            for (const auto& [name, file] : Data().files) {
                const auto it = file.entries.find(number);
                EXPECT_TRUE(it != file.entries.end() && it->second.value.find(product) != std::string::npos)
                    << name << ": text " << number << " must keep \"" << product << "\"";
            }
        }
}

}  // namespace
}  // namespace oakridge::test
