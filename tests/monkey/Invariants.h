// What must hold after every operation the monkey makes, checked against
// the real main window and the oracle's picture of its map.
#pragma once

#include "MapSnapshot.h"

#include "map/LayerSwitches.h"
#include "map/MapDocument.h"
#include "render/Renderer.h"

#include <QStringList>

#include <array>
#include <optional>
#include <tuple>
#include <utility>

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

// What a picture is drawn from, besides the map.
struct Scene {
    halvorn::LayerSwitches layers;
    float zoom = 0;
    halvorn::ShadowParams shadows;
    bool drawshadows = false;
};

class InvariantChecker {
public:
    explicit InvariantChecker(const halvorn::frmMain& window);

    // The broken invariants, one text each; empty when all hold.
    QStringList Check(const OperationFacts& facts, bool popupSeen);
    int OracleDrawings() const { return oracleDrawings_; }

private:
    void CheckMap(QStringList& out) const;
    void CheckView(QStringList& out) const;
    void CheckBrush(QStringList& out) const;
    void CheckSaved(const OperationFacts& facts, QStringList& out) const;
    void CheckPicture(QStringList& out);

    // The picture inputs last checked against the oracle: the map, the five
    // layer switches, zoom, three shadow values, drawshadows, the picture's
    // key and the redraw count. An unchanged set needs no second drawing.
    using RenderInputs = std::tuple<hostile::MapSnapshot, std::array<bool, 5>, float, float, int,
                                    int, bool, qint64, int>;

    const halvorn::frmMain& window_;
    bool whiteExpected_ = true; // until the first redraw, and after File > New
    int redrawsAtWhite_ = 0;
    std::optional<RenderInputs> lastVerified_;
    // The map and scene of that picture, kept in diagnostic mode to replay it.
    std::optional<std::pair<halvorn::MapDocument, Scene>> lastScene_;
    int oracleDrawings_ = 0;
};

} // namespace monkey
