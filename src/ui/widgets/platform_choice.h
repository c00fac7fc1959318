#pragma once

// On a Wayland session Qt would run the program as a native Wayland client.
// There a window can neither place itself nor cut its outline (the mask only
// limits input), so the rounded windows show white corners and the centred
// start and child windows land wherever the compositor puts them. Through
// XWayland all of that works as on X11, so the X11 platform comes first and
// Wayland is the fallback where XWayland is missing. A platform the user
// chose (QT_QPA_PLATFORM or -platform) stands.
//
// Call PreferX11Platform() just before the QApplication is made and
// ForgetPlatformPreference() just after, so programs started later inherit
// the user's environment unchanged.
void PreferX11Platform();
void ForgetPlatformPreference();
