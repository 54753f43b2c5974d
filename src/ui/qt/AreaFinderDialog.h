#pragma once

#include "platform/PixelBuffer.h"
#include "recognition/AreaFinder.h"
#include "recognition/AutoDetect.h"

#include <QDialog>

namespace kesmaro {

// The finder's proposal before it is applied: the game frame with a rectangle for each number
// found (dashed ones where a number was seen more than once), and per number the proposed area,
// an enlarged picture of it and what it reads. "適用" accepts, "キャンセル" rejects.
class AreaFinderDialog : public QDialog {
public:
    AreaFinderDialog(const PixelBuffer& frame, const AreaProposal& proposal,
                     QWidget* parent = nullptr);

    // Shows the dialog modally; true when the user applies the proposal.
    static bool confirm(QWidget* parent, const PixelBuffer& frame, const AreaProposal& proposal);

    // The capture page's "自動検出": grabs the game, finds the numbers and applies them to the
    // settings record once this dialog is answered with "適用".
    static AutoDetectOutcome detect(Program& p, QWidget* parent);

    // The per-number lines as shown, for tests.
    QStringList summary() const { return m_summary; }

private:
    QStringList m_summary;
};

} // namespace kesmaro
