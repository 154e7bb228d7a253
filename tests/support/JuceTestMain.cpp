// Test entry point for everything that uses the framework: the framework's
// message thread is the test's own thread, as it is for a host's editor.

#include <gmock/gmock.h>
#include <juce_events/juce_events.h>

#include <X11/Xlib.h>

namespace
{
    /** The test display (Xvfb) runs no window manager, so the window-manager
        atoms the framework only looks up (never creates) would be missing,
        and setting a window property with a missing atom is fatal in Xlib.
        A window manager would have created them: do it here, and keep the
        connection open so the server does not reset and drop them. */
    struct WindowManagerAtoms
    {
        WindowManagerAtoms()
        {
            if (std::getenv ("DISPLAY") == nullptr || (display = XOpenDisplay (nullptr)) == nullptr)
                return;

            for (const char* name : { "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "_NET_WM_PING",
                                      "WM_CHANGE_STATE", "WM_STATE", "_NET_WM_WINDOW_TYPE", "_NET_WM_STATE",
                                      "_NET_WM_STATE_HIDDEN", "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_STATE_SKIP_TASKBAR",
                                      "_NET_WM_STATE_ABOVE", "_NET_WM_ICON", "_NET_WM_NAME", "_NET_FRAME_EXTENTS",
                                      "_NET_REQUEST_FRAME_EXTENTS", "_MOTIF_WM_HINTS", "_NET_WM_ALLOWED_ACTIONS" })
                XInternAtom (display, name, False);

            XSync (display, False);
        }

        ~WindowManagerAtoms()
        {
            if (display != nullptr)
                XCloseDisplay (display);
        }

        Display* display = nullptr;
    };
}

int main (int argc, char** argv)
{
    testing::InitGoogleMock (&argc, argv);
    WindowManagerAtoms atoms;
    juce::ScopedJuceInitialiser_GUI framework;
    return RUN_ALL_TESTS();
}
