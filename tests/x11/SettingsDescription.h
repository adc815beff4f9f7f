#pragma once
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// The controls of the saver's settings description (the daemon's configuration XML), read the
// simple way its fixed layout allows: one tag at a time, attributes in double quotes.
struct DescribedControl {
    std::string kind; // number, boolean, select, string
    std::map<std::string, std::string> attributes;
    std::vector<std::map<std::string, std::string>> options; // a select's options

    std::string Get(const std::string& name) const
    {
        const auto found = attributes.find(name);
        return found == attributes.end() ? std::string() : found->second;
    }
};

// The name="value" pairs of one tag's text.
inline std::map<std::string, std::string> ReadAttributes(const std::string& tag)
{
    std::map<std::string, std::string> attributes;
    for (size_t at = 0;;) {
        const size_t equals = tag.find("=\"", at);
        const size_t end = equals == std::string::npos ? equals : tag.find('"', equals + 2);
        if (end == std::string::npos)
            return attributes;
        const size_t blank = tag.find_last_of(" \t\n", equals);
        const size_t start = blank == std::string::npos ? 0 : blank + 1;
        attributes[tag.substr(start, equals - start)] = tag.substr(equals + 2, end - equals - 2);
        at = end + 1;
    }
}

inline std::vector<DescribedControl> ReadSettingsDescription(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    const std::string xml = text.str();
    std::vector<DescribedControl> controls;
    bool inSelect = false;
    for (size_t open = xml.find('<'); open != std::string::npos; open = xml.find('<', open + 1)) {
        const size_t close = xml.find('>', open);
        if (close == std::string::npos)
            break;
        const std::string tag = xml.substr(open + 1, close - open - 1);
        const size_t nameEnd = tag.find_first_of(" \t\n/");
        const std::string name = tag.substr(0, nameEnd);
        if (name == "/select")
            inSelect = false;
        if (name == "option" && inSelect)
            controls.back().options.push_back(ReadAttributes(tag));
        if (name == "number" || name == "boolean" || name == "string" || name == "select") {
            controls.push_back({name, ReadAttributes(tag), {}});
            inSelect = name == "select";
        }
    }
    return controls;
}

// "--people %" with % replaced by value, split into words.
inline std::vector<std::string> ExpandArgument(const std::string& pattern, const std::string& value)
{
    std::string text = pattern;
    const size_t mark = text.find('%');
    if (mark != std::string::npos)
        text.replace(mark, 1, value);
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

// The command line the daemon's GUI builds when every control keeps its default.
inline std::vector<std::string> DefaultCommandLine(const std::vector<DescribedControl>& controls)
{
    std::vector<std::string> words;
    for (const DescribedControl& control : controls) {
        if ((control.kind != "number" && control.kind != "string") || control.Get("default").empty())
            continue; // a boolean at its default, a select's first option and an empty field add nothing
        for (const std::string& word : ExpandArgument(control.Get("arg"), control.Get("default")))
            words.push_back(word);
    }
    return words;
}
