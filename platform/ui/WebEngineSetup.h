#pragma once

// What the web engine needs of a program before its QApplication exists: drawing contexts shared
// with the widgets, and no sandbox for the root user, where it cannot start.
void PrepareWebEngine();
