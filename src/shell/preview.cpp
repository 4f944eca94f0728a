#include "shell/preview.h"

#include "platform/format.h"
#include "shell/tovarin_view.h"

namespace tovarin {
namespace {

std::string Plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string From(const RosterPlayer& player, const TeamEntry& team) {
  switch (player.from) {
    case RosterSource::kRenameFile:
      return "from the rename file";
    case RosterSource::kRoster:
      return "from " + (team.partner ? team.partner->name : std::string()) + "'s roster";
    case RosterSource::kFarmRoster:
      return "from " + (team.partner ? team.partner->name : std::string()) + "'s farm roster";
  }
  return {};
}

}  // namespace

PreviewModel MakePreview(const Review& review) {
  PreviewModel model;
  model.counts = {
      "Players carried: " + std::to_string(review.counts.carried),
      "Players dropped: " + std::to_string(review.counts.dropped),
      "Dropped players with candidates: " + std::to_string(review.counts.withCandidates),
      "Target teams left empty: " + std::to_string(review.counts.emptyTeams),
  };
  if (review.counts.renameFile) {
    model.counts.push_back("Rename records the Build would use: " +
                           std::to_string(review.counts.renameRecordsUsed) + " of " +
                           std::to_string(review.counts.renameRecords));
  }
  for (const TeamReview& team : review.teams) {
    PreviewModel::Team row;
    row.heading = team.team->longName + ": " +
                  Plural(static_cast<int>(team.players.size()), "player", "players");
    for (const RosterPlayer& player : team.players) {
      row.players.push_back(FullName(player.name) + " (" + std::to_string(player.number) + "), " +
                            From(player, *team.team));
    }
    model.teams.push_back(std::move(row));
  }
  for (const DroppedPlayer& player : review.dropped) {
    PreviewModel::Dropped row;
    row.sourcePlayer = player.sourcePlayer;
    row.player = player.name.last.empty() && player.name.first.empty()
                     ? "player " + std::to_string(player.sourcePlayer) + " (not in the player file)"
                     : FullName(player.name);
    row.team = player.sourceTeam;
    const Candidate* best = player.best();
    row.candidate = best ? CandidateText(*best) : "no candidate";
    row.acceptable = best && best->acceptable();
    model.dropped.push_back(std::move(row));
  }
  return model;
}

std::string DroppedLine(const PreviewModel& model, std::size_t index) {
  const PreviewModel::Dropped& row = model.dropped[index];
  const std::string number = platform::Format("#%d", row.sourcePlayer);
  return platform::Format("%6s ", number.c_str()) + row.player + ", " + row.team + ": " +
         row.candidate;
}

void PreviewSession::Refresh() {
  review_ = view_.ReviewBuild();
  model_ = review_.ok ? MakePreview(review_) : PreviewModel();
}

std::string PreviewSession::CountsText() const {
  std::string text = review_.error;
  for (const std::string& line : model_.counts) text += (text.empty() ? "" : "\n") + line;
  for (const std::string& note : review_.notes) text += "\n" + note;
  return text;
}

std::vector<std::string> PreviewSession::TeamRows() const {
  std::vector<std::string> rows;
  for (const PreviewModel::Team& team : model_.teams) {
    rows.push_back(team.heading);
    for (const std::string& player : team.players) rows.push_back("    " + player);
  }
  return rows;
}

bool PreviewSession::AnyAcceptable() const {
  for (const PreviewModel::Dropped& row : model_.dropped) {
    if (row.acceptable) return true;
  }
  return false;
}

bool PreviewSession::AddToRenameFile(const std::vector<std::size_t>& rows) {
  std::vector<int> players;
  for (const std::size_t row : rows) {
    if (row < model_.dropped.size()) players.push_back(model_.dropped[row].sourcePlayer);
  }
  if (players.empty() || !view_.AddToRenameFile(review_, players)) return false;
  Refresh();
  return true;
}

}  // namespace tovarin
