#pragma once

// The panel's element numbers: rows of the skin layout table, each with the role it plays.
// The numbers are those of the skin files and cannot change.

#include <cstddef>

namespace zefa {

enum Element : size_t {
    kElFace = 0,            // panel face; w, h: panel size and the height of one bitmap layer
    kElPlay = 1,            // play button (state 3 when released by the pointer)
    kElForward = 2,         // fast forward, acts while held
    kElRewind = 3,          // rewind, acts while held
    kElBack = 4,            // previous entry
    kElNext = 5,            // next entry
    kElQuit = 6,            // quit
    kElScanLines = 7,       // scan lines on/off (ScanLine)
    kElFullScreen = 8,      // full screen
    kElAspectMenu = 9,      // aspect menu
    kElZoomIn = 10,         // zoom up
    kElZoomOut = 11,        // zoom down
    kElPlaylist = 12,       // playlist window on/off (ListBox)
    kElOpen = 13,           // open a file
    kElStop = 14,           // stop
    kElSettings = 15,       // settings dialog
    kElRepeat = 16,         // repeat on/off (Repeat)
    kElRandom = 17,         // random order on/off (Randam)
    kElMinimise = 18,       // minimise
    kElDecoration = 19,     // decoration, always lit
    kElSeekBar = 20,        // seek bar
    kElVolume = 21,         // volume slider; pending: hand Volume to the engines
    kElMoveWindow = 22,     // not in the file: move the main window
    kElZoomMenu = 24,       // not in the file: the zoom menu in full screen
    kElPause = 25,          // pause button
    kElEntryDigits = 26,    // entry number and count; w, h: glyph cell of digit font 1
    kElPositionDigits = 27, // position; w, h: glyph cell of digit font 2
    kElLengthDigits = 28,   // length; w, h: glyph cell of digit font 3
    kElPausedLamp = 29,     // paused indicator
    kElPlayingLamp = 30,    // playing indicator
    kElReverseLamp = 31,    // reverse-seek indicator
    kElForwardLevel = 32,   // forward seek-level bar; w: one step
    kElReverseLevel = 33,   // reverse seek-level bar; w: one step
    kElPlaylistPlace = 34,  // the playlist window's offset and size relative to the panel
    kElTitle = 35,          // scrolling title
    kElLineMask = 36,       // line mask on/off (MaskMode)
    kElFlashBarLeft = 37,   // the bar above a Flash movie: left end,
    kElFlashBarMiddle = 38, // middle
    kElFlashBarRight = 39,  // and right end
};

} // namespace zefa
