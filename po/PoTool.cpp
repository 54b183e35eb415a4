// SPDX-License-Identifier: Apache-2.0
// The translations' one tool, run by the build and by scripts/update-pot.sh:
//   kelm_po pot OUT.pot DESKTOP METAINFO  writes the template: every text of
//                                         the string table, the layer's table,
//                                         the dialog templates and what the
//                                         desktop entry and the AppStream entry
//                                         name, each under its key
//   kelm_po check POT DESKTOP METAINFO NAME=PO...
//                                         fails unless the template is the
//                                         tables' and every translation is
//                                         complete and formats as the English
//   kelm_po compile OUT.cpp NAME=PO...    the translations as the program's data
//   kelm_po desktop IN OUT NAME=PO...     a desktop entry with its translations
//   kelm_po metainfo IN OUT NAME=PO...    an AppStream entry with its translations
#include "framework/core/AfxLanguage.h"
#include "po/TranslatableTexts.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace
{
struct Entry
{
    std::string comment; // where the text stands, for translators
    std::string key;     // msgctxt
    std::string english; // msgid
    std::string text;    // msgstr
    bool fuzzy = false;
};

// ---- the template, from the tables

void Add(std::vector<Entry>& entries, std::string comment, std::string key, std::string english)
{
    entries.push_back({std::move(comment), std::move(key), std::move(english), {}, false});
}

// The text between "<tag>" and "</tag>" on a line of its own, or empty.
std::string Element(const std::string& line, const std::string& tag)
{
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    const std::size_t start = line.find(open);
    const std::size_t end = line.find(close);
    if (start == std::string::npos || end == std::string::npos || end < start)
    {
        return {};
    }
    return line.substr(start + open.size(), end - start - open.size());
}

std::string ReadFile(const std::string& path);

// The texts of the desktop entry (Name, GenericName, Comment) and of the
// AppStream entry (its first name and summary), under "desktop Name" and
// "appstream summary".
std::vector<Entry> EntryTexts(const std::string& desktop, const std::string& metainfo)
{
    std::vector<Entry> entries;
    std::istringstream lines(ReadFile(desktop));
    std::string line;
    while (std::getline(lines, line))
    {
        for (const char* field : {"Name", "GenericName", "Comment"})
        {
            const std::string start = std::string(field) + "=";
            if (line.rfind(start, 0) == 0)
            {
                Add(entries, "The desktop entry's " + std::string(field),
                    "desktop " + std::string(field), line.substr(start.size()));
            }
        }
    }
    std::istringstream xml(ReadFile(metainfo));
    bool haveName = false;
    bool haveSummary = false;
    while (std::getline(xml, line))
    {
        const std::string name = Element(line, "name");
        const std::string summary = Element(line, "summary");
        if (!name.empty() && !haveName)
        {
            Add(entries, "The software centre's name", "appstream name", name);
            haveName = true;
        }
        if (!summary.empty() && !haveSummary)
        {
            Add(entries, "The software centre's summary", "appstream summary", summary);
            haveSummary = true;
        }
    }
    return entries;
}

std::vector<Entry> TemplateEntries(const std::string& desktop, const std::string& metainfo)
{
    std::vector<Entry> entries = EntryTexts(desktop, metainfo);
    for (const TranslatableText& text : TranslatableTexts())
    {
        Add(entries, text.comment, text.key, text.english);
    }
    return entries;
}

// ---- PO files

std::string Quote(const std::string& text)
{
    std::string out = "\"";
    for (char c : text)
    {
        switch (c)
        {
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

std::string WritePot(const std::vector<Entry>& entries)
{
    std::ostringstream out;
    out << "# The English texts of Kelm Utilities, to translate.\n"
           "# Written by scripts/update-pot.sh from the string table and the dialog\n"
           "# templates; not to be edited by hand.\n"
           "# SPDX-License-Identifier: Apache-2.0\n"
           "msgid \"\"\n"
           "msgstr \"\"\n"
           "\"Project-Id-Version: kelm-utilities\\n\"\n"
           "\"MIME-Version: 1.0\\n\"\n"
           "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
           "\"Content-Transfer-Encoding: 8bit\\n\"\n";
    for (const Entry& e : entries)
    {
        out << "\n#. " << e.comment << "\nmsgctxt " << Quote(e.key) << "\nmsgid "
            << Quote(e.english) << "\nmsgstr \"\"\n";
    }
    return out.str();
}

// Reads a quoted PO string from position i of line, C escapes undone.
bool Unquote(const std::string& line, std::size_t i, std::string& text)
{
    i = line.find('"', i);
    if (i == std::string::npos)
    {
        return false;
    }
    for (++i; i < line.size(); ++i)
    {
        char c = line[i];
        if (c == '"')
        {
            return true;
        }
        if (c == '\\' && i + 1 < line.size())
        {
            c = line[++i];
            switch (c)
            {
            case 'n':
                c = '\n';
                break;
            case 't':
                c = '\t';
                break;
            case 'r':
                c = '\r';
                break;
            default:
                break; // \" and \\ stand for themselves
            }
        }
        text += c;
    }
    return false;
}

// Every entry of a PO file but its header and the obsolete ones.
bool ReadPo(const std::string& path, std::vector<Entry>& entries, std::string& error)
{
    std::ifstream in(path);
    if (!in)
    {
        error = path + ": cannot be read";
        return false;
    }
    Entry current;
    std::string* field = nullptr;
    bool any = false;
    auto flush = [&]
    {
        if (any && !(current.key.empty() && current.english.empty()))
        {
            entries.push_back(current);
        }
        current = Entry();
        field = nullptr;
        any = false;
    };
    std::string line;
    int number = 0;
    while (std::getline(in, line))
    {
        ++number;
        if (!line.empty() && line.back() == '\r')
        {
            line.pop_back();
        }
        const std::string where = path + ":" + std::to_string(number) + ": ";
        if (line.empty() || line.rfind("#~", 0) == 0)
        {
            continue;
        }
        if (line.rfind("#,", 0) == 0)
        {
            if (field == &current.text)
            {
                flush();
            }
            current.fuzzy = line.find("fuzzy") != std::string::npos;
            continue;
        }
        if (line[0] == '#')
        {
            if (field == &current.text)
            {
                flush();
            }
            continue;
        }
        std::string value;
        if (line[0] == '"')
        {
            if (field == nullptr || !Unquote(line, 0, value))
            {
                error = where + "a string that continues nothing";
                return false;
            }
            *field += value;
            continue;
        }
        const std::string keyword = line.substr(0, line.find(' '));
        if (keyword == "msgctxt" || (keyword == "msgid" && field != &current.key))
        {
            if (field == &current.text)
            {
                flush();
            }
        }
        if (keyword == "msgctxt")
        {
            field = &current.key;
        }
        else if (keyword == "msgid")
        {
            field = &current.english;
        }
        else if (keyword == "msgstr")
        {
            field = &current.text;
        }
        else
        {
            error = where + "\"" + keyword + "\" is not known here";
            return false;
        }
        any = true;
        field->clear();
        if (!Unquote(line, keyword.size(), value))
        {
            error = where + "the string is not closed";
            return false;
        }
        *field = value;
    }
    flush();
    return true;
}

// ---- checks

// The access key of a caption: the letter after a single '&', 0 for none;
// count says how many there are.
char AccessKey(const std::string& text, int& count)
{
    char key = 0;
    count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
    {
        if (text[i] == '&')
        {
            if (text[i + 1] != '&')
            {
                ++count;
                key = text[i + 1];
            }
            ++i;
        }
    }
    return key;
}

bool WritesInParentheses(const std::string& language)
{
    const std::string code = language.substr(0, 2);
    return code == "zh" || code == "ja" || code == "ko";
}

std::vector<std::string> CheckTranslation(const std::string& language,
                                          const std::vector<Entry>& wanted,
                                          const std::vector<Entry>& given)
{
    std::vector<std::string> problems;
    std::map<std::string, const Entry*> byKey;
    for (const Entry& e : given)
    {
        if (!byKey.emplace(e.key, &e).second)
        {
            problems.push_back("\"" + e.key + "\" is translated twice");
        }
    }
    for (const Entry& w : wanted)
    {
        const std::string name = "\"" + w.key + "\"";
        auto it = byKey.find(w.key);
        if (it == byKey.end())
        {
            problems.push_back(name + " is missing");
            continue;
        }
        const Entry& e = *it->second;
        byKey.erase(it);
        if (e.english != w.english)
        {
            problems.push_back(name + " translates an English text that has changed");
        }
        if (e.text.empty() || e.fuzzy)
        {
            problems.push_back(name + " is not translated");
            continue;
        }
        if (AfxLanguage::Conversions(e.text) != AfxLanguage::Conversions(w.english))
        {
            problems.push_back(name + " formats other numbers or texts than the English");
        }
        if (std::count(e.text.begin(), e.text.end(), '\n') !=
            std::count(w.english.begin(), w.english.end(), '\n'))
        {
            problems.push_back(name + " has other line breaks than the English");
        }
        int englishKeys = 0;
        int keys = 0;
        AccessKey(w.english, englishKeys);
        const char key = AccessKey(e.text, keys);
        if (keys != englishKeys)
        {
            problems.push_back(name + " has " + std::to_string(keys) +
                               " access keys, the English " + std::to_string(englishKeys));
        }
        else if (keys == 1 && WritesInParentheses(language) &&
                 e.text.find(std::string("(&") + key + ")") == std::string::npos)
        {
            problems.push_back(name + " writes its access key otherwise than \"(&X)\"");
        }
        else if (keys == 1 && !((key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z') ||
                                (key >= '0' && key <= '9') || (key & 0x80) != 0))
        {
            problems.push_back(name + " has an access key that is no letter");
        }
    }
    for (const auto& [key, entry] : byKey)
    {
        problems.push_back("\"" + key + "\" is no text of the program");
    }
    return problems;
}

// "de=po/de.po" into its name and its file.
bool SplitLanguage(const std::string& arg, std::string& name, std::string& path)
{
    const std::size_t eq = arg.find('=');
    if (eq == std::string::npos)
    {
        return false;
    }
    name = arg.substr(0, eq);
    path = arg.substr(eq + 1);
    return true;
}

std::string CString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text)
    {
        if (c == '"' || c == '\\')
        {
            out += '\\';
            out += static_cast<char>(c);
        }
        else if (c == '\n')
        {
            out += "\\n";
        }
        else if (c == '\t')
        {
            out += "\\t";
        }
        else if (c < 0x20 || c >= 0x7F)
        {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", c);
            out += octal;
        }
        else
        {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

bool WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The languages named on the command line, each with its translated texts
// (key to text); false, with the reason printed, when a file is unreadable.
bool ReadLanguages(int argc, char** argv, int first,
                   std::vector<std::pair<std::string, std::vector<Entry>>>& languages)
{
    for (int i = first; i < argc; ++i)
    {
        std::string name;
        std::string path;
        std::vector<Entry> entries;
        std::string error;
        if (!SplitLanguage(argv[i], name, path))
        {
            std::cerr << "kelm_po: \"" << argv[i] << "\" is not NAME=FILE.po\n";
            return false;
        }
        if (!ReadPo(path, entries, error))
        {
            std::cerr << "kelm_po: " << error << "\n";
            return false;
        }
        languages.emplace_back(name, entries);
    }
    return true;
}

std::string Translated(const std::vector<Entry>& entries, const std::string& key,
                       const std::string& english)
{
    for (const Entry& e : entries)
    {
        if (e.key == key && e.english == english && !e.fuzzy)
        {
            return e.text;
        }
    }
    return {};
}

int Compile(int argc, char** argv)
{
    std::vector<std::pair<std::string, std::vector<Entry>>> languages;
    if (argc < 3 || !ReadLanguages(argc, argv, 3, languages))
    {
        return 2;
    }
    std::ostringstream out;
    out << "// Written by kelm_po from the translations in po/; not to be edited.\n"
           "#include \"res/Translations.h\"\n\nnamespace\n{\n";
    for (const auto& [name, entries] : languages)
    {
        out << "const ResTranslation kTexts_" << name << "[] = {\n";
        for (const Entry& e : entries)
        {
            // The entries' texts go into their files at build time, not into
            // the program.
            if (!e.key.empty() && !e.text.empty() && !e.fuzzy && e.key.rfind("desktop ", 0) != 0 &&
                e.key.rfind("appstream ", 0) != 0)
            {
                out << "    {" << CString(e.key) << ", " << CString(e.text) << "},\n";
            }
        }
        out << "};\n";
    }
    out << "const ResLanguage kLanguages[] = {\n";
    for (const auto& language : languages)
    {
        out << "    {\"" << language.first << "\", kTexts_" << language.first << ", sizeof(kTexts_"
            << language.first << ") / sizeof(ResTranslation)},\n";
    }
    out << "    {nullptr, nullptr, 0},\n};\n} // namespace\n\n"
           "const ResLanguage* const kResLanguages = kLanguages;\n"
           "const std::size_t kResLanguageCount = "
        << languages.size() << ";\n";
    return WriteFile(argv[2], out.str()) ? 0 : 1;
}

int Check(int argc, char** argv)
{
    if (argc < 5)
    {
        return 2;
    }
    int failures = 0;
    const std::vector<Entry> wanted = TemplateEntries(argv[3], argv[4]);
    if (ReadFile(argv[2]) != WritePot(wanted))
    {
        std::cerr << argv[2]
                  << ": not the template of the tables as they are: run scripts/update-pot.sh\n";
        ++failures;
    }
    std::vector<std::pair<std::string, std::vector<Entry>>> languages;
    if (!ReadLanguages(argc, argv, 5, languages))
    {
        return 2;
    }
    for (const auto& [name, entries] : languages)
    {
        for (const std::string& problem : CheckTranslation(name, wanted, entries))
        {
            std::cerr << name << ": " << problem << "\n";
            ++failures;
        }
    }
    std::cout << languages.size() << " translations of " << wanted.size() << " texts: " << failures
              << " problems\n";
    return failures == 0 ? 0 : 1;
}

// A desktop entry or an AppStream entry with each language's text added after
// the English one it translates: lines "Key=English" get "Key[xx]=...", and
// elements "<tag>English</tag>" get "<tag xml:lang="xx">...</tag>".
int Merge(int argc, char** argv, bool xml)
{
    std::vector<std::pair<std::string, std::vector<Entry>>> languages;
    if (argc < 4 || !ReadLanguages(argc, argv, 4, languages))
    {
        return 2;
    }
    std::istringstream in(ReadFile(argv[2]));
    std::ostringstream out;
    std::string line;
    const std::string prefix = xml ? "appstream " : "desktop ";
    while (std::getline(in, line))
    {
        out << line << "\n";
        std::string field;
        std::string english;
        std::string indent;
        if (xml)
        {
            const std::size_t open = line.find('<');
            const std::size_t close = line.find('>', open);
            if (open == std::string::npos || close == std::string::npos)
            {
                continue;
            }
            indent = line.substr(0, open);
            field = line.substr(open + 1, close - open - 1);
            english = Element(line, field);
        }
        else
        {
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos || line.find('[') < eq)
            {
                continue;
            }
            field = line.substr(0, eq);
            english = line.substr(eq + 1);
        }
        if (english.empty())
        {
            continue;
        }
        for (const auto& [name, entries] : languages)
        {
            // Only the text the template holds: a nested element of the
            // same name (the developer's name) stays as it is.
            const std::string text = Translated(entries, prefix + field, english);
            if (text.empty())
            {
                continue;
            }
            if (xml)
            {
                out << indent << "<" << field << " xml:lang=\"" << name << "\">" << text << "</"
                    << field << ">\n";
            }
            else
            {
                out << field << "[" << name << "]=" << text << "\n";
            }
        }
    }
    return WriteFile(argv[3], out.str()) ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "pot" && argc == 5)
    {
        return WriteFile(argv[2], WritePot(TemplateEntries(argv[3], argv[4]))) ? 0 : 1;
    }
    if (mode == "check")
    {
        return Check(argc, argv);
    }
    if (mode == "compile")
    {
        return Compile(argc, argv);
    }
    if (mode == "desktop" || mode == "metainfo")
    {
        return Merge(argc, argv, mode == "metainfo");
    }
    std::cerr << "usage: kelm_po pot OUT DESKTOP METAINFO | check POT DESKTOP METAINFO NAME=PO... |"
                 " compile OUT NAME=PO... |"
                 " desktop|metainfo IN OUT NAME=PO...\n";
    return 2;
}
