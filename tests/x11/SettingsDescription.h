#pragma once
#include <fstream>
#include <map>
#include <regex>
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

inline std::vector<DescribedControl> ReadSettingsDescription(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    const std::string xml = text.str();
    std::vector<DescribedControl> controls;
    const std::regex tag(R"(<(/?)([A-Za-z_-]+)((?:\s+[A-Za-z_-]+="[^"]*")*)\s*/?>)");
    const std::regex attribute(R"__(([A-Za-z_-]+)="([^"]*)")__");
    bool inSelect = false;
    for (auto match = std::sregex_iterator(xml.begin(), xml.end(), tag); match != std::sregex_iterator(); ++match) {
        const std::string name = (*match)[2];
        if ((*match)[1] == "/") {
            if (name == "select")
                inSelect = false;
            continue;
        }
        std::map<std::string, std::string> attributes;
        const std::string list = (*match)[3];
        for (auto pair = std::sregex_iterator(list.begin(), list.end(), attribute); pair != std::sregex_iterator();
             ++pair)
            attributes[(*pair)[1]] = (*pair)[2];
        if (name == "option" && inSelect) {
            controls.back().options.push_back(attributes);
            continue;
        }
        if (name == "number" || name == "boolean" || name == "string" || name == "select") {
            controls.push_back({name, attributes, {}});
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
        if (control.kind != "number" && control.kind != "string")
            continue; // a boolean at its default and a select's first option add nothing
        for (const std::string& word : ExpandArgument(control.Get("arg"), control.Get("default")))
            words.push_back(word);
    }
    return words;
}
