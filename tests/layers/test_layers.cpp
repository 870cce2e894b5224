// The layers of src/ depend only downwards: pdb, workspace, then the codecs
// (kinds, convert), then commands, then the printed pages, then the window
// and the converter. The codecs never reach the prompter, not even through
// another header, and no two files need each other (a file is its header
// and its source together).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::map<std::string, int> kRank = {{"pdb", 0},      {"workspace", 1}, {"kinds", 2}, {"convert", 2},
                                          {"commands", 3}, {"print", 4},     {"app", 5}, {"cli", 5}};

// The project headers a file includes, as "folder/name.h".
std::set<std::string> includes(const fs::path& file) {
  static const std::regex include(R"re(^\s*#\s*include\s*"([a-z]+/[^"]+)")re");
  std::set<std::string> out;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_search(line, m, include)) out.insert(m[1]);
  }
  return out;
}

std::string folderOf(const std::string& relative) { return relative.substr(0, relative.find('/')); }

// Every wrong-way include of the tree under `src`, as "from -> to".
std::set<std::string> wrongWay(const fs::path& src) {
  std::set<std::string> wrong;
  std::map<std::string, std::set<std::string>> graph;
  for (const auto& e : fs::recursive_directory_iterator(src)) {
    if (!e.is_regular_file()) continue;
    const std::string rel = fs::relative(e.path(), src).generic_string();
    if (rel.find('/') == std::string::npos) continue;
    graph[rel] = includes(e.path());
  }
  for (const auto& [from, tos] : graph) {
    const std::string a = folderOf(from);
    if (!kRank.count(a)) continue;
    for (const std::string& to : tos) {
      const std::string b = folderOf(to);
      if (!kRank.count(b) || a == b) continue;
      if (kRank.at(b) >= kRank.at(a)) wrong.insert(from + " -> " + to);
    }
    if (a != "kinds" && a != "convert") continue;
    // The codecs must not see the prompter through any chain of headers.
    std::set<std::string> seen;
    std::vector<std::string> todo(tos.begin(), tos.end());
    while (!todo.empty()) {
      const std::string h = todo.back();
      todo.pop_back();
      if (!seen.insert(h).second) continue;
      if (h == "workspace/prompter.h") wrong.insert(from + " -> ... -> " + h);
      for (const std::string& next : graph[h]) todo.push_back(next);
    }
  }
  return wrong;
}

// A file without its extension: "workspace/checks" for both halves.
std::string unitOf(const std::string& relative) { return relative.substr(0, relative.rfind('.')); }

// Every group of files under `src` that need each other through includes,
// each as its files joined by " <-> ".
std::set<std::string> cycles(const fs::path& src) {
  std::map<std::string, std::set<std::string>> needs;
  for (const auto& e : fs::recursive_directory_iterator(src)) {
    if (!e.is_regular_file()) continue;
    const std::string rel = fs::relative(e.path(), src).generic_string();
    if (rel.find('/') == std::string::npos) continue;
    const std::string unit = unitOf(rel);
    needs[unit];
    for (const std::string& h : includes(e.path()))
      if (unitOf(h) != unit) needs[unit].insert(unitOf(h));
  }
  auto reachable = [&](const std::string& from) {
    std::set<std::string> seen;
    std::vector<std::string> todo{from};
    while (!todo.empty()) {
      const std::string u = todo.back();
      todo.pop_back();
      for (const std::string& next : needs[u])
        if (seen.insert(next).second) todo.push_back(next);
    }
    return seen;
  };
  std::map<std::string, std::set<std::string>> reach;
  for (const auto& [unit, _] : needs) reach[unit] = reachable(unit);
  std::set<std::string> found;
  for (const auto& [unit, to] : reach) {
    if (!to.count(unit)) continue;
    std::string group;
    for (const std::string& other : to)
      if (reach[other].count(unit)) group += (group.empty() ? "" : " <-> ") + other;
    found.insert(group);
  }
  return found;
}

TEST(Layers, IncludesPointOnlyDownwards) {
  EXPECT_EQ(wrongWay(fs::path(VEKLA_SOURCE_DIR) / "src"), std::set<std::string>{});
}

TEST(Layers, AWrongWayIncludeIsFound) {
  const fs::path root = fs::temp_directory_path() / "vekla-layers-test";
  fs::remove_all(root);
  fs::create_directories(root / "pdb");
  fs::create_directories(root / "kinds");
  fs::create_directories(root / "workspace");
  std::ofstream(root / "pdb/a.h") << "#include \"commands/commands.h\"\n";
  std::ofstream(root / "kinds/b.cpp") << "#include \"workspace/c.h\"\n";
  std::ofstream(root / "workspace/c.h") << "#include \"workspace/prompter.h\"\n";
  EXPECT_EQ(wrongWay(root), (std::set<std::string>{"kinds/b.cpp -> ... -> workspace/prompter.h",
                                                   "pdb/a.h -> commands/commands.h"}));
  fs::remove_all(root);
}

TEST(Layers, NoTwoFilesNeedEachOther) {
  EXPECT_EQ(cycles(fs::path(VEKLA_SOURCE_DIR) / "src"), std::set<std::string>{});

  // Through a third file and through a header alone, as well as directly.
  const fs::path root = fs::temp_directory_path() / "vekla-cycles-test";
  fs::remove_all(root);
  fs::create_directories(root / "workspace");
  std::ofstream(root / "workspace/a.cpp") << "#include \"workspace/a.h\"\n#include \"workspace/b.h\"\n";
  std::ofstream(root / "workspace/b.h") << "#include \"workspace/c.h\"\n";
  std::ofstream(root / "workspace/c.cpp") << "#include \"workspace/a.h\"\n";
  std::ofstream(root / "workspace/d.cpp") << "#include \"workspace/a.h\"\n";
  EXPECT_EQ(cycles(root), std::set<std::string>{"workspace/a <-> workspace/b <-> workspace/c"});
  fs::remove_all(root);
}

}  // namespace
