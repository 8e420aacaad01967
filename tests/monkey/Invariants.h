// What must hold after every operation the monkey makes, checked against
// the real main window and the oracle's picture of its map.
#pragma once

#include "MapSnapshot.h"

#include "map/LayerSwitches.h"
#include "map/MapDocument.h"
#include "render/Renderer.h"

#include <QImage>
#include <QStringList>

#include <optional>

namespace halvorn {
class frmMain;
}

namespace monkey {

// What the monkey knows about the operation it just made.
struct OperationFacts {
    bool canvasInput = false;   // mouse input on the map canvas
    bool buttonPressed = false; // ... with a button
    bool bothButtons = false;   // ... and the other one pressed too: one may undo the other
    bool saved = false;         // the Save command ran
    bool newMapConfirmed = false;
    bool savedBefore = true;
    hostile::MapSnapshot mapBefore;
};

// The picture inputs last checked against the oracle; an unchanged set
// needs no second drawing.
struct RenderInputs {
    hostile::MapSnapshot map;
    halvorn::LayerSwitches layers;
    float zoom = 0;
    halvorn::ShadowParams shadows;
    bool drawshadows = false;
    qint64 pictureKey = 0;
    int redraws = 0;
    bool operator==(const RenderInputs& o) const;
};

class InvariantChecker {
public:
    explicit InvariantChecker(const halvorn::frmMain& window);

    // The broken invariants, one text each; empty when all hold.
    QStringList Check(const OperationFacts& facts, bool popupSeen);

    int OracleDrawings() const { return oracleDrawings_; }
    int WhiteChecks() const { return whiteChecks_; }

private:
    void CheckMap(QStringList& out) const;
    void CheckView(QStringList& out) const;
    void CheckBrush(QStringList& out) const;
    void CheckSaved(const OperationFacts& facts, QStringList& out) const;
    void CheckPicture(QStringList& out);

    const halvorn::frmMain& window_;
    bool whiteExpected_ = true; // until the first redraw, and after File > New
    int redrawsAtWhite_ = 0;
    std::optional<RenderInputs> lastVerified_;
    // The map of that picture, kept in diagnostic mode to replay it.
    std::optional<halvorn::MapDocument> lastVerifiedMap_;
    int oracleDrawings_ = 0;
    int whiteChecks_ = 0;
};

int TotalRedraws(const halvorn::frmMain& window);

} // namespace monkey
