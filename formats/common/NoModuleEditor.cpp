#include "formats/common/ModuleEditor.h"

ModuleEditorFactory moduleEditorFactory() {
    return nullptr;
}
