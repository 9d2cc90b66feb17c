#include "formats/common/ModuleEditor.h"
#include "formats/common/SystemEditor.h"

ModuleEditorFactory moduleEditorFactory() {
    return createSystemEditor;
}
