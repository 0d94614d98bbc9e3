#pragma once
#include <QString>

// Reads the number a settings entry holds: the longest leading number of the text,
// 0 when it does not begin with one.
double ReadNumber(const QString& text);
