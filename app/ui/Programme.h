#pragma once

class QApplication;

// Application-wide set-up shared by the program and the window tests: French
// translations of Qt's own dialogs, the font substitutes of the design fonts.
void PreparerApplication(QApplication& app);

// Entry point of the program: creates the shared state and the main window.
int LancerArdemo(int argc, char* argv[]);
