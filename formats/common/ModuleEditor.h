#pragma once

#include "editor/EditorHost.h"
#include "editor/EffectEditor.h"

#include <memory>

// Makes the editor for a host's instance.
using ModuleEditorFactory = std::unique_ptr<EffectEditor> (*)(EditorHost& host);

// The editor a plug-in module carries, as the build chose it for the module
// (qvl_add_plugin_module): the system's editor, or null, no editor, where the build has no
// platform layer.
ModuleEditorFactory moduleEditorFactory();
