// Reading numbers from the dialogs' fields and reporting a bad field, shared by every dialog. Numbers
// are read with a point as decimal separator whatever the desktop's locale.
#pragma once

#include "gem/vector3.h"

#include <cstdint>
#include <optional>
#include <string>

class MessageService;
class QComboBox;
class QDialog;
class QLineEdit;
class QWidget;

// "X of point 1" ... "Z of point 3": row = point 1 ... 3, column = x, y, z.
extern const char* const CoordinateNames[3][3];

// Focus on the field, beep, error box with the message; with a form, its modal result is reset so
// that it stays open.
void ReportFieldError(MessageService& messages, QWidget* field, const std::string& message,
                      QDialog* form = nullptr);

// The field's number, or nothing after the error has been reported on the field.
std::optional<Real> ReadRealField(MessageService& messages, QLineEdit* field, const std::string& message);
std::optional<Real> ReadRealField(MessageService& messages, QComboBox* field, const std::string& message);
std::optional<std::int32_t> ReadIntegerField(MessageService& messages, QLineEdit* field,
                                             const std::string& message);
