#pragma once

#include "editor/EditorServices.h"
#include "editor/EffectEditor.h"

#include <memory>

class EditorHost;

// The editor's services from the platform layer: the system's clock, browser, windows,
// display scale, screen and settings file.
EditorServices systemEditorServices();

// The editor as every plug-in format shows it in a host: drawn, windowed and fed by the system
// it runs on. Makes that system the views' platform for the whole module first.
std::unique_ptr<EffectEditor> createSystemEditor(EditorHost& host);
