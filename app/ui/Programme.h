#pragma once

class QGuiApplication;
struct OptionsFenetre;

// Application-wide set-up shared by the program, its command line and the
// window tests: French translations of Qt's own dialogs, the font substitutes
// of the design fonts.
void PreparerApplication(QGuiApplication& app);

// Entry point of the program: creates the shared state and the main window,
// which opens with the options of the command line.
int LancerArdemo(int argc, char* argv[], const OptionsFenetre& options);
