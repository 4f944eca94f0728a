#include <gtest/gtest.h>

#include <random>

#include "support/build_tree.h"
#include "memory_settings/memory_settings_store.h"

namespace tovarin {
namespace {

using fixture::BuildTree;

// A form over a target organization of `targets` teams and a source organization of `sources`
// teams; the first `sameNames` teams of each side share their long names and so start paired.
struct PairingForm {
  fixture::TempDir dir;
  MemorySettingsStore store;
  fixture::FakeDialogs dialogs;
  fixture::FakeControls controls;
  CTovarinView view{store, dialogs, controls, layout::SourceTeamColumn()};

  PairingForm(int targets, int sources, int sameNames) {
    Org(targets, sameNames, "T").Write(dir.MakeDir("A.WDD/ORG00001"));
    Org(sources, sameNames, "S").Write(dir.MakeDir("A.WDD/ORG00002"));
    store.WriteString("File", "BaseDir", dir.path());
    store.WriteString("File", "TgtDataDisk", "A.WDD");
    store.WriteString("File", "TgtOrg", targets >= 0 ? "ORG00001" : "");
    store.WriteString("File", "SrcDataDisk", "A.WDD");
    store.WriteString("File", "SrcOrg", sources >= 0 ? "ORG00002" : "");
    view.OnInitialUpdate();
  }
  static sim::OrgBuilder Org(int teams, int sameNames, const std::string& side) {
    sim::OrgBuilder org;
    org.Organization(0).Group(10, 1, "L").Group(11, 10, "D");
    for (int k = 1; k <= teams; ++k) {
      const std::string n = std::to_string(k);
      org.Team(static_cast<std::int16_t>(k), 11, static_cast<std::int16_t>(k - 1),
               k <= sameNames ? "Same " + n : side + " only " + n, side + n, side + n);
    }
    return org;
  }
  ListBoxModel& targetBox() { return view.teamLists.targetList(); }
  ListBoxModel& sourceBox() { return view.teamLists.sourceList(); }
  // Each target's partner as its short name, "-" for none.
  std::string Pairs() {
    std::string pairs;
    for (const TeamEntry& t : view.targetTeams()) {
      pairs += (t.partner ? t.partner->shortName : std::string("-")) + " ";
    }
    return pairs;
  }
  std::string SourceRows() {
    std::string rows;
    for (const auto& row : sourceBox().rows) rows += row.entry->shortName + " ";
    return rows;
  }
};

TEST(Match, CommandsOnTheSelectedRows) {
  struct Step {
    std::function<void(PairingForm&)> command;
    std::string pairs;       // partner of each target after the command
    std::string sourceRows;  // short names shown in the source list
    int targetSelection;
    bool refilled;
  };
  struct Case {
    std::string name;
    int targets, sources, sameNames;
    std::vector<Step> steps;
  };
  auto select = [](int target, int source, void (CTovarinView::*command)()) {
    return [=](PairingForm& f) {
      f.targetBox().selected = target;
      f.sourceBox().selected = source;
      (f.view.*command)();
    };
  };
  const Case cases[] = {
      {"match walks down the target list, back to the first after the last", 3, 3, 0,
       {{select(0, 2, &CTovarinView::OnMatch), "S3 - - ", "S1 S2 ", 1, true},
        {select(1, 0, &CTovarinView::OnMatch), "S3 S1 - ", "S2 ", 2, true},
        {select(2, 0, &CTovarinView::OnMatch), "S3 S1 S2 ", "", 0, true}}},
      {"re-matching replaces the pair and sends the old partner back", 2, 3, 1,
       {{select(0, 1, &CTovarinView::OnMatch), "S3 - ", "S1 S2 ", 1, true}}},
      {"double-click in the source list is Match", 2, 2, 0,
       {{select(1, 1, &CTovarinView::OnDblclkSourceList), "- S2 ", "S1 ", 0, true}}},
      {"double-click on a paired target unpairs whatever the source selection", 2, 2, 2,
       {{select(1, -1, &CTovarinView::OnDblclkTargetList), "S1 - ", "S2 ", 1, true}}},
      {"double-click on an unpaired target matches", 2, 2, 0,
       {{select(0, 1, &CTovarinView::OnDblclkTargetList), "S2 - ", "S1 ", 1, true}}},
      {"double-click on an unpaired target with an empty source list: nothing", 2, 1, 1,
       {{select(1, -1, &CTovarinView::OnDblclkTargetList), "S1 - ", "", 1, false}}},
      {"match without a source row: nothing", 2, 2, 2,
       {{select(0, -1, &CTovarinView::OnMatch), "S1 S2 ", "", 0, false}}},
      {"match without target rows: nothing", 0, 2, 0,
       {{select(-1, 0, &CTovarinView::OnMatch), "", "S1 S2 ", -1, false}}},
      {"un-match of an unpaired team still refills", 2, 2, 1,
       {{select(1, 0, &CTovarinView::OnUnmatch), "S1 - ", "S2 ", 1, true}}},
      {"un-match without a target row: nothing", 0, 2, 0,
       {{select(-1, 0, &CTovarinView::OnUnmatch), "", "S1 S2 ", -1, false}}},
      {"reset undoes every pair", 3, 3, 3,
       {{select(2, -1, &CTovarinView::OnReset), "- - - ", "S1 S2 S3 ", 2, true}}},
      {"reset with empty lists only refills", 0, 0, 0,
       {{select(-1, -1, &CTovarinView::OnReset), "", "", -1, true}}},
  };
  for (const Case& c : cases) {
    PairingForm f(c.targets, c.sources, c.sameNames);
    const std::string targetLabel = f.controls.targetLabel;
    const std::string sourceLabel = f.controls.sourceLabel;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const Step& step = c.steps[i];
      const int refills = f.controls.listRefills;
      const std::size_t controlWrites = f.controls.log.size();
      step.command(f);
      const std::string where = c.name + ", step " + std::to_string(i + 1);
      EXPECT_EQ(f.Pairs(), step.pairs) << where;
      EXPECT_EQ(f.SourceRows(), step.sourceRows) << where;
      EXPECT_EQ(f.targetBox().selected, step.targetSelection) << where;
      EXPECT_EQ(f.controls.listRefills > refills, step.refilled) << where;
      EXPECT_EQ(f.controls.log.size() > controlWrites, step.refilled) << where;
      EXPECT_EQ(f.controls.targetLabel, targetLabel) << where << ": labels count entries";
      EXPECT_EQ(f.controls.sourceLabel, sourceLabel) << where;
    }
  }
}

TEST(Match, ASourceTeamThatAlreadyHasAPartnerChangesNoPair) {
  PairingForm f(3, 2, 0);
  // S1 gets a partner behind the list's back, so its row is still shown.
  TeamEntry& s1 = f.view.sourceTeams()[0];
  TeamEntry& t3 = f.view.targetTeams()[2];
  s1.partner = &t3;
  t3.partner = &s1;
  f.targetBox().selected = 0;
  f.sourceBox().selected = 0;
  f.view.OnMatch();
  EXPECT_EQ(f.Pairs(), "- - S1 ");
  EXPECT_EQ(f.targetBox().selected, 1);  // the selection still moves down
}

TEST(Match, PairsStayMutualAfterAnySequence) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 40; ++round) {
    const int targets = static_cast<int>(random() % 6);
    const int sources = static_cast<int>(random() % 6);
    PairingForm f(targets, sources, static_cast<int>(random() % 4));
    for (int step = 0; step < 60; ++step) {
      f.targetBox().selected = static_cast<int>(random() % 8) - 1;
      f.sourceBox().selected = static_cast<int>(random() % 8) - 1;
      switch (random() % 5) {
        case 0: f.view.OnMatch(); break;
        case 1: f.view.OnUnmatch(); break;
        case 2: f.view.OnReset(); break;
        case 3: f.view.OnDblclkSourceList(); break;
        default: f.view.OnDblclkTargetList(); break;
      }
      TeamList& tl = f.view.targetTeams();
      TeamList& sl = f.view.sourceTeams();
      auto inList = [](const TeamList& list, const TeamEntry* e) {
        return e >= list.data() && e < list.data() + list.size();
      };
      for (const TeamEntry& t : tl) {
        if (t.partner) {
          ASSERT_TRUE(inList(sl, t.partner));
          ASSERT_EQ(t.partner->partner, &t);
        }
      }
      std::size_t unpaired = 0;
      for (const TeamEntry& s : sl) {
        if (s.partner) {
          ASSERT_TRUE(inList(tl, s.partner));
          ASSERT_EQ(s.partner->partner, &s);
        } else {
          ++unpaired;
        }
      }
      ASSERT_EQ(f.targetBox().rows.size(), tl.size());
      ASSERT_EQ(f.sourceBox().rows.size(), unpaired);
      for (const auto& row : f.targetBox().rows) ASSERT_TRUE(inList(tl, row.entry));
      for (const auto& row : f.sourceBox().rows) ASSERT_TRUE(inList(sl, row.entry));
      ASSERT_EQ(f.controls.targetRows.size(), tl.size());
    }
  }
}

TEST(Match, TheBuildCarriesHandMadePairs) {
  BuildTree t;
  t.Start(/*useFarm=*/false, /*withRenames=*/false);
  // By name, target 1 has source 1 and target 2 has source 2. Swap them and pair target 3
  // with nobody.
  ListBoxModel& targets = t.view.teamLists.targetList();
  ListBoxModel& sources = t.view.teamLists.sourceList();
  t.view.OnReset();
  ASSERT_EQ(sources.rows.size(), 2u);
  targets.selected = 0;
  sources.selected = 1;
  t.view.OnMatch();  // target 1 with source 2; the selection moves to target 2
  sources.selected = 0;
  t.view.OnMatch();  // target 2 with source 1
  t.view.OnBuild();
  EXPECT_EQ(t.dialogs.messages, (std::vector<std::string>{t.Completed(3, "", "", "City 3")}));
  EXPECT_EQ(t.TargetRoster(1), (std::vector<int>{1}));     // source 2: Brown Bob, Gray Tim
  EXPECT_EQ(t.TargetRoster(2), (std::vector<int>{2, 4}));  // source 1: Smith, Fox, Jones
  EXPECT_EQ(t.TargetRoster(3), (std::vector<int>{}));
}

}  // namespace
}  // namespace tovarin
