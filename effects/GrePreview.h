#pragma once

class CGreImageCtrl;
class CWnd;

// Puts the preview of an effect dialog over the hidden frame control of that id, sunken and
// bordered, on the colour of buttons; false when the frame or the window is missing.
bool CreatePreviewOver(CGreImageCtrl& preview, CWnd& dialog, int frameId);
