#pragma once

#include "editor/AboutCard.h"
#include "editor/ArtworkGeometry.h"
#include "editor/ControlRects.h"
#include "editor/EditorImages.h"
#include "editor/EditorParameters.h"

#include "views/CColor.h"
#include "views/CGeometry.h"

#include <array>

class CAnimKnob;
class CCompMeter;
class CControl;
class CControlObserver;
class CFrame;
class CMovieBitmap;
class COnOffButton;
class CParamDisplay;
class CScala;
class CTextKnob;
class CTransferFunction;
class CVerticalSwitch;
class EditorHost;
class LevelMeter;

constexpr CColor kTextNormal{250, 250, 250, 255};
constexpr CColor kTextDim{100, 100, 100, 255};

// The about card's place over the graph area, in window coordinates.
constexpr CRect kAboutCardRect{374, 44, 374 + kAboutCardWidthPx, 44 + kAboutCardShownHeightPx};

// The editor's views while the window is open; the frame owns them. Pointers are stale once
// the frame is gone.
struct EditorControls {
    CParamDisplay* versionDisplay = nullptr;
    CTextSplash* aboutTrigger = nullptr;
    CAnimKnob* thresholdKnob = nullptr;
    CAnimKnob* ratioKnob = nullptr;
    CAnimKnob* kneeKnob = nullptr;
    CAnimKnob* makeUpKnob = nullptr;
    CAnimKnob* dryMixKnob = nullptr;
    CAnimKnob* attackKnob = nullptr;
    CAnimKnob* releaseKnob = nullptr;
    CAnimKnob* releaseSlowKnob = nullptr;
    CAnimKnob* scFilterFreqKnob = nullptr;
    CTextKnob* detectionKnob = nullptr;
    CParamDisplay* thresholdDisplay = nullptr;
    CParamDisplay* ratioDisplay = nullptr;
    CParamDisplay* kneeDisplay = nullptr;
    CParamDisplay* makeUpDisplay = nullptr;
    CParamDisplay* dryMixDisplay = nullptr;
    CParamDisplay* attackDisplay = nullptr;
    CParamDisplay* releaseDisplay = nullptr;
    CParamDisplay* scFilterFreqDisplay = nullptr;
    CParamDisplay* releaseSlowDisplay = nullptr;
    CTextKnob* lfAmountKnob = nullptr;
    CTextKnob* hfAmountKnob = nullptr;
    CVerticalSwitch* scFilterTypeSwitch = nullptr;
    COnOffButton* scPreviewButton = nullptr;
    COnOffButton* lfHarmonicsButton = nullptr;
    COnOffButton* hfHarmonicsButton = nullptr;
    COnOffButton* bypassButton = nullptr;
    COnOffButton* deltaButton = nullptr;
    CCompMeter* grMeter = nullptr;
    LevelMeter* scMeter = nullptr;
    CScala* meterScale = nullptr;
    CTransferFunction* transferGraph = nullptr;
    CMovieBitmap* releaseLampLeft = nullptr;
    CMovieBitmap* releaseLampRight = nullptr;

    // The control bound to each parameter, and the readout showing it (if any).
    std::array<CControl*, kNumParameters> parameterControl{};
    std::array<CParamDisplay*, kNumParameters> parameterReadout{};
};

// Creates the 35 views in their fixed order (later ones lie above and get the mouse first),
// each added to `frame` as soon as it is set up; bound controls take their values from
// `host`.
EditorControls buildEditorViews(CFrame& frame, CControlObserver& editor, EditorHost& host,
                                const UrlOpener& openUrl);
