#pragma once
// The text an error shows the user: the data layer's own message, the engine's description,
// or whatever else the exception says about itself.

#include <QString>
#include <exception>

QString errorText(const std::exception &error);
