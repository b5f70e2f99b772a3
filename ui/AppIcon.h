// The program's icon, drawn in code (a calculator key with "N").
#pragma once

#include <QIcon>

QIcon numbrixIcon();
