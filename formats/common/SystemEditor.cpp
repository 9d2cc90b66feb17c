#include "formats/common/SystemEditor.h"

#include "editor/CompressorEditor.h"
#include "platform/DesktopScale.h"
#include "platform/OpenUrl.h"
#include "platform/SystemViewPlatform.h"
#include "views/CFrame.h"

EditorServices systemEditorServices() {
    EditorServices services;
    services.tickMs = [] { return systemViewPlatform().tickMs(); };
    services.openUrl = [](const char* url) { openUrlInBrowser(url); };
    services.openWindow = [](CFrame& frame, void* parentWindow) {
        return frame.open(parentWindow);
    };
    services.desktopScale = desktopScaleFactors;
    services.screenArea = desktopScreenArea;
    services.settingsFile = userSettingsFile();
    return services;
}

std::unique_ptr<EffectEditor> createSystemEditor(EditorHost& host) {
    useViewPlatform(systemViewPlatform());
    return createCompressorEditor(host, systemEditorServices());
}
