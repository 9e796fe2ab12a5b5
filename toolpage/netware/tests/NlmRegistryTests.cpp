// Module builds by server version, load and unload orders, script names and the
// old-server request: portable, run natively and under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NlmRegistry.h"
#include "core/SysUtils.h"

using namespace toolpage;

namespace {

// The page's registrations.
void RegisterPageModules(TNlmRegistry& Reg) {
  Reg.RegisterNlm("VX4LIB", "VX4LIB.312", "KAVEL:STD4", 3.12, {});
  Reg.RegisterNlm("VX4LIB", "VX4LIB.410", "KAVEL:STD4", 4.1, {});
  Reg.RegisterNlm("VX4LIB", "VX4LIB.NLM", "KAVEL:STD4", 4.11, {});
  Reg.RegisterNlm("CLIBAUX", "CLIBAUX.NLM", "", 3.12, {"VX4LIB"});
  Reg.RegisterNlm("VX4CS", "VX4CS.312", "KAVEL:CS4", 3.12, {"VX4LIB", "CLIBAUX"});
  Reg.RegisterNlm("VX4CS", "VX4CS.NLM", "KAVEL:CS4", 4.11, {"VX4LIB"});
  Reg.RegisterNlm("VX4RC", "VX4RC.312", "KAVEL:RC41", 3.12, {"VX4LIB"});
  Reg.RegisterNlm("VX4RC", "VX4RC.NLM", "KAVEL:RC41", 4.1, {"VX4LIB"});
  Reg.RegisterNlm("VX4RC", "VX4RC.NLM", "KAVEL:RC41", 4.11, {"VX4LIB"});
  Reg.RegisterNlm("tuvek", "TUVEK.NLM", "", 3.12, {"VX4LIB"});
}

std::string FileOf(const TNlmDesc* Desc) {
  return Desc ? Desc->FileName : "(none)";
}

std::vector<std::string> NamesOf(const TNlmClosure& List) {
  std::vector<std::string> names;
  for (const TNlmDepth& e : List) names.push_back(e.Name);
  return names;
}

size_t IndexOf(const std::vector<std::string>& Names, const std::string& Name) {
  for (size_t i = 0; i < Names.size(); ++i)
    if (Names[i] == Name) return i;
  return Names.size();
}

}  // namespace

TEST(NlmRegistry, FindNlmPicksTheBuildThatSuitsTheServer) {
  TNlmRegistry reg;
  RegisterPageModules(reg);
  const struct {
    int32_t Version;
    const char* Lib;
    const char* Rc;
  } cases[] = {
      {0, "(none)", "(none)"},          {311, "(none)", "(none)"},        {312, "VX4LIB.312", "VX4RC.312"},
      {400, "VX4LIB.312", "VX4RC.312"}, {410, "VX4LIB.410", "VX4RC.NLM"}, {411, "VX4LIB.NLM", "VX4RC.NLM"},
      {500, "VX4LIB.NLM", "VX4RC.NLM"},
  };
  for (const auto& c : cases) {
    reg.SetServerVersion(c.Version);
    EXPECT_EQ(FileOf(reg.FindNlm("VX4LIB")), c.Lib) << c.Version;
    EXPECT_EQ(FileOf(reg.FindNlm("vx4rc")), c.Rc) << c.Version;
  }
  reg.SetServerVersion(411);
  EXPECT_EQ(reg.FindNlm("VX4RC")->MinVersion, 411);
  // Equal minimum versions: the first registered.
  reg.RegisterNlm("VX4RC", "VX4RC.NEW", "", 4.11, {});
  EXPECT_EQ(reg.FindNlm("VX4RC")->Dependencies.size(), 1u);
  EXPECT_EQ(reg.FindNlm("TUVEK")->Name, "TUVEK");
  EXPECT_EQ(reg.FindNlm("NOSUCH"), nullptr);
}

TEST(NlmRegistry, GetNlmBeforeTheServerIsKnownGivesTheFirstBuild) {
  TNlmRegistry reg;
  RegisterPageModules(reg);
  EXPECT_EQ(reg.FindNlm("VX4LIB"), nullptr);
  EXPECT_EQ(FileOf(reg.GetNlm("vx4lib")), "VX4LIB.312");
  EXPECT_EQ(reg.GetNlm("NOSUCH"), nullptr);
  reg.SetServerVersion(311);
  EXPECT_EQ(reg.GetNlm("VX4LIB"), nullptr);
  reg.SetServerVersion(500);
  EXPECT_EQ(FileOf(reg.GetNlm("VX4LIB")), "VX4LIB.NLM");
  EXPECT_EQ(NlmVersionNumber(4.1), 410);
  EXPECT_EQ(NlmVersionNumber(3.12), 312);
}

TEST(NlmRegistry, DependenciesFollowTheServersBuildsInLoadOrder) {
  TNlmRegistry reg;
  RegisterPageModules(reg);
  TNlmClosure list;
  reg.SetServerVersion(312);
  reg.CollectDependencies("VX4CS", list);
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"VX4LIB", "CLIBAUX"}));
  list.clear();
  reg.SetServerVersion(411);
  reg.CollectDependencies("VX4CS", list);
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"VX4LIB"}));
  list.clear();
  reg.SetServerVersion(0);
  reg.CollectDependencies("VX4CS", list);
  EXPECT_TRUE(list.empty());
}

TEST(NlmRegistry, DeepChainsLoadDeepestFirstAndUnloadTopFirst) {
  // A needs B and D; B needs C; C needs D: D must come before C, C before B.
  TNlmRegistry reg;
  reg.SetServerVersion(411);
  reg.RegisterNlm("A", "A.NLM", "", 3.12, {"B", "D"});
  reg.RegisterNlm("B", "B.NLM", "", 3.12, {"C"});
  reg.RegisterNlm("C", "C.NLM", "", 3.12, {"D"});
  reg.RegisterNlm("D", "D.NLM", "", 3.12, {});
  reg.RegisterNlm("E", "E.NLM", "", 3.12, {"D", "A"});
  TNlmClosure deps;
  reg.CollectDependencies("A", deps);
  EXPECT_EQ(NamesOf(deps), (std::vector<std::string>{"D", "C", "B"}));
  EXPECT_EQ(deps[0].Depth, 2);  // where the walk first reached it
  TNlmClosure users;
  reg.CollectDependents("D", users);
  std::vector<std::string> order = NamesOf(users);
  ASSERT_EQ(order.size(), 4u);
  // Each module goes before every module it needs.
  EXPECT_LT(IndexOf(order, "E"), IndexOf(order, "A"));
  EXPECT_LT(IndexOf(order, "A"), IndexOf(order, "B"));
  EXPECT_LT(IndexOf(order, "B"), IndexOf(order, "C"));
  // Stable: the same registry gives the same order.
  TNlmClosure again;
  reg.CollectDependents("D", again);
  EXPECT_EQ(NamesOf(again), order);
}

TEST(NlmRegistry, CyclesEndAndChainsAreCutAtTheDepthLimit) {
  TNlmRegistry reg;
  reg.SetServerVersion(411);
  reg.RegisterNlm("A", "A.NLM", "", 4.11, {"B"});
  reg.RegisterNlm("B", "B.NLM", "", 4.11, {"C"});
  reg.RegisterNlm("C", "C.NLM", "", 4.11, {"A", "B"});
  TNlmClosure deps, users;
  reg.CollectDependencies("A", deps);
  EXPECT_EQ(NamesOf(deps), (std::vector<std::string>{"C", "B"}));
  reg.CollectDependents("A", users);
  EXPECT_EQ(NamesOf(users), (std::vector<std::string>{"B", "C"}));

  TNlmRegistry chain;
  chain.SetServerVersion(411);
  auto module = [](int i) {
    std::string name = "M";
    name += std::to_string(i);
    return name;
  };
  for (int i = 0; i < 15; ++i) chain.RegisterNlm(module(i), "M.NLM", "", 4.11, {module(i + 1)});
  TNlmClosure cut;
  chain.CollectDependencies("M0", cut);
  EXPECT_EQ(cut.size(), static_cast<size_t>(kMaxNlmDepth));
  EXPECT_EQ(cut.front().Name, "M10");
  TNlmClosure none;
  chain.CollectDependencies("M0", none, kMaxNlmDepth);
  EXPECT_TRUE(none.empty());
}

TEST(NlmRegistry, ScriptNamesAndLines) {
  EXPECT_EQ(NcfScriptName("LD", "C:\\Program Files\\Mgmt\\console.exe"), "LDCONSOL.NCF");
  EXPECT_EQ(NcfScriptName("UL", "C:\\Program Files\\Mgmt\\console.exe"), "ULCONSOL.NCF");
  EXPECT_EQ(NcfScriptName("LD", "C:\\x.y\\mgr.exe"), "LDMGR.NCF");
  EXPECT_EQ(NcfScriptName("UL", "mgr"), "ULMGR.NCF");
  TNlmDesc a, b;
  a.FileName = "VX4LIB.312";
  b.FileName = "TUVEK.NLM";
  EXPECT_EQ(NcfLines("Unload ", {&a, &b}, "SYS:SYSTEM", false),
            (std::vector<std::string>{"Unload  VX4LIB.312", "Unload  TUVEK.NLM"}));
  EXPECT_EQ(NcfLine("Load", "TUVEK.NLM", "SYS:SYSTEM", true), "Load SYS:SYSTEM\\TUVEK.NLM");
}

TEST(NlmRegistry, OldServerRequestHoldsThePathInItsOwn130Bytes) {
  std::vector<uint8_t> r = BuildOldServerNcfRequest("LDCONSOL.NCF");
  ASSERT_EQ(r.size(), 130u);
  EXPECT_EQ(r[0], 121);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[1])), "LDCONSOL.NCF");
  for (size_t i = 13; i < r.size(); ++i) EXPECT_EQ(r[i], 0) << i;
  EXPECT_EQ(BuildOldServerNcfRequest(std::string(127, 'A'))[128], 0);
  try {
    BuildOldServerNcfRequest(std::string(128, 'A'));
    ADD_FAILURE() << "nothing raised";
  } catch (const fw::Exception& e) {
    EXPECT_STREQ(e.what(), "Name too long!");
  }
}
