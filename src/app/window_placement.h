#pragma once
// Raising a window above all others and back, and bringing it to the front
// even when another program holds the focus.

class QWidget;

void MakeTopMost(QWidget* window);
void MakeNormal(QWidget* window);
// True when the window ended up active.
bool ForceForegroundWindow(QWidget* window);
