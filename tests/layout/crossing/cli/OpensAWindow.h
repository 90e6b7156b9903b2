#pragma once

// The command line has no windows.
#include <QString>
#include <QWidget>
