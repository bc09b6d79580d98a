// veltra-host's command line.
#pragma once

#include "hostcore/ScriptSteps.h"

#include <QString>
#include <QStringList>

struct HostOptions {
    QString pluginPath;   // empty: DefaultPluginPath()
    QString databasePath; // empty: the one the profile remembers, else none ("DB/GetConnectionUri" answers no
                          // text)
    QString profilePath;  // empty: the user's configuration folder
    QString publicDir;    // empty: PUBLIC of the environment, else the installed shared folder
    bool script = false;  // a scripted run on Qt's offscreen platform instead of the window
    PickAnswer pick;      // scripted runs only
    QString steps;        // scripted runs only; empty: the demo steps
};

enum class ParseResult { Run, Help, Error };

// Reads the arguments (arguments[0] is the program). Help: `message` is the usage text; Error: `message`
// says what is wrong.
ParseResult ParseHostOptions(const QStringList& arguments, HostOptions& options, QString& message);
