#pragma once

#include "config/Defaults.h"
#include "config/Settings.h"
#include "platform/PixelBuffer.h"
#include "recognition/AreaFinder.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kesmaro {

struct Program;

// The tables the capture itself reads with: the settings' own three categories.
FinderFonts FinderFontsOf(const Settings& settings);
// The built-in tables, the Exp table in one interface colour or, without one, in all four
// (yellow, red, blue, white: FoundNumber::font indexes this order).
FinderFonts DefaultFinderFonts(std::optional<InterfaceColour> colour);

// One line a number, in the frame's pixels: "level X Y W H", "exp …", "coins …" and, when a
// second coin display was seen, "coins2 …"; a number not seen gives "level not found", one
// seen twice "level ambiguous". `complete` is set when level, Exp and coins were all found.
std::vector<std::string> ProposalLines(const AreaProposal& proposal, bool* complete = nullptr);

// The proposal as the settings hold it: areas 0-2, area 4 when a second coin display was seen
// (regions 3 and 4 take the size of regions 1 and 2). Only found numbers change their area.
void ApplyCaptureAreas(Settings& settings, const AreaProposal& proposal);

// The whole client area of the game window (found by SearchWindowClass); empty without one.
PixelBuffer GrabGameFrame(Program& p);

// What the user sees before any area changes, and answers.
using AreaConfirmation = std::function<bool(const PixelBuffer& frame, const AreaProposal&)>;
// A message box through the Prompter with the proposal's lines.
bool ConfirmByPrompt(Program& p, const AreaProposal& proposal);

enum class AutoDetectOutcome { NoWindow, NothingFound, Declined, Applied };

// The capture page's automatic detection: grabs the game window, finds the numbers, and
// applies the proposal to the settings record only when `confirm` agrees. A window that is
// missing, or a frame in which none of the numbers is found, is told through the Prompter and
// changes nothing.
AutoDetectOutcome AutoDetectCaptureAreas(Program& p, const AreaConfirmation& confirm);

} // namespace kesmaro
