// tovarin-cli review: what a Build would carry and drop, with the likely players for the dropped
// ones, and --accept to add them to the rename file.

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>

#include "cli/command.h"
#include "cli/form_session.h"
#include "shell/preview.h"
#include "shell/sim_text.h"

namespace tovarin::cli {
namespace {

struct ReviewOptions {
  SideOptions sides;
  SetupOptions setup;
  PairingOptions pairing;
  std::vector<std::string> accept;
};

// "1486,#7,12" as source player numbers; empty when the text is not such a list.
std::vector<int> PlayerNumbers(const std::string& text) {
  std::vector<int> lines;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    std::string number = text.substr(at, comma - at);
    if (!number.empty() && number[0] == '#') number.erase(0, 1);
    if (number.empty() || number.size() > 6 ||
        number.find_first_not_of("0123456789") != std::string::npos) {
      return {};
    }
    lines.push_back(std::stoi(number));
    at = comma + 1;
  }
  return lines;
}

// The review of the form's setup, its counts printed; nothing when it failed (its message
// printed).
std::optional<Review> ReviewAndCount(const CTovarinView& view, Console& console) {
  Review review = view.ReviewBuild();
  if (!review.ok) {
    console.err << review.error << "\n";
    return std::nullopt;
  }
  for (const std::string& line : MakePreview(review).counts) console.out << line << "\n";
  for (const std::string& note : review.notes) console.err << note << "\n";
  return review;
}

int Run(ReviewOptions& options, Console& console) {
  options.sides.given = GivenBoth(
      options.sides, "give both --target and --source, or neither to use the stored setup");
  TakeSetupOptions(options.setup);
  const std::vector<PairCommand> pairCommands = PairCommands(options.pairing);
  const bool accepting = options.setup.app->count("--accept") > 0;
  if (accepting && !options.setup.renameGiven) throw UsageError{"--accept needs --rename"};
  // Each --accept adds its players to the others'.
  std::vector<int> accept;
  for (const std::string& given : options.accept) {
    const std::vector<int> numbers = PlayerNumbers(given);
    if (numbers.empty()) {
      throw UsageError{"--accept " + given +
                       ": expected player numbers as review lists them, such as 1486,#27"};
    }
    accept.insert(accept.end(), numbers.begin(), numbers.end());
  }

  FormSession form(console, false, false);
  if (!form.Load(options.sides, options.setup, options.pairing.reset, pairCommands)) return kError;
  CTovarinView& view = form.view;
  if (!options.sides.given && !options.setup.setupFileGiven &&
      !view.MissingOrganization().empty()) {
    throw UsageError{NoSetupStored("review")};
  }
  const std::optional<Review> review = ReviewAndCount(view, console);
  if (!review) return kError;
  if (!accepting) {
    const PreviewModel model = MakePreview(*review);
    for (std::size_t i = 0; i < model.dropped.size(); ++i) {
      console.out << DisplayText(DroppedLine(model, i)) << "\n";
    }
    return kOk;
  }

  // A script is better told that one choice is wrong than left with some of them written.
  const Acceptance acceptance = AcceptBest(*review, accept);
  if (!acceptance.refused.empty()) {
    console.err << "Nothing was added to the rename file:\n";
    for (const std::string& line : acceptance.refused) console.err << DisplayText(line) << "\n";
    return kError;
  }
  if (!view.AddToRenameFile(*review, accept)) return kError;  // it says what it added
  return ReviewAndCount(view, console) ? kOk : kError;
}

}  // namespace

Command AddReviewCommand(CLI::App& program) {
  auto options = std::make_shared<ReviewOptions>();
  CLI::App* app = program.add_subcommand(
      "review",
      "show what a Build would carry and drop, with the likely\nplayers for the dropped ones");
  AddSideOptions(*app, options->sides, "With neither, review works on the stored setup");
  AddSetupOptions(*app, options->setup);
  AddSetupFileOption(*app, options->setup);
  AddPairingOptions(*app, options->pairing);
  app->add_option("--accept", options->accept,
                  "add the best candidates of these dropped players\n(by the source player "
                  "number review lists, #N)\nto the rename file, all or none; needs --rename;\n"
                  "may be given more than once")
      ->type_name("N,...")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  return {app, [options](Console& console) { return Run(*options, console); }};
}

}  // namespace tovarin::cli
