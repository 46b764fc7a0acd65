#pragma once

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik {

// A scraped page read as a monitoring server reads it, with what it would refuse: a sample
// before its family's TYPE line, a family that comes twice, a series served twice, a line of
// neither kind.
struct ScrapedPage {
  std::map<std::string, std::string> Samples;  // "name{labels}" -> value text
  std::map<std::string, std::string> Types;    // family -> "gauge" / "counter"
  std::vector<std::string> Problems;

  [[nodiscard]] std::string Value(const std::string& series) const {
    const auto found = Samples.find(series);
    return found == Samples.end() ? std::string() : found->second;
  }
};

inline ScrapedPage ReadScrapedPage(const std::string& text) {
  ScrapedPage page;
  std::set<std::string> finished;
  std::string current;
  std::istringstream lines(text);
  std::string line;
  if (!text.empty() && text.back() != '\n')
    page.Problems.push_back("the page does not end with a line feed");
  while (std::getline(lines, line)) {
    if (line.rfind("# HELP ", 0) == 0)
      continue;
    if (line.rfind("# TYPE ", 0) == 0) {
      std::istringstream words(line.substr(7));
      std::string name, type;
      words >> name >> type;
      if (!current.empty())
        finished.insert(current);
      if (finished.count(name) != 0 || page.Types.count(name) != 0)
        page.Problems.push_back("family twice: " + name);
      current = name;
      page.Types[name] = type;
      continue;
    }
    // The value follows the last blank; label values may hold blanks of their own.
    const size_t blank = line.rfind(' ');
    const size_t brace = line.find('{');
    const std::string series = line.substr(0, blank);
    const std::string name = series.substr(0, std::min(brace, blank));
    if (blank == std::string::npos || name != current) {
      page.Problems.push_back("sample outside its family: " + line);
      continue;
    }
    if (!page.Samples.emplace(series, line.substr(blank + 1)).second)
      page.Problems.push_back("series twice: " + series);
  }
  return page;
}

}  // namespace tarvik
