#include "app/main_window.hpp"

namespace app {

int createMainWindow()
{
    HWND window = buildMainWindow();
    runModalLoop(window);
    releaseMainWindowResources();
    return 0;
}

}  // namespace app
