// Reading numbers from the dialogs' fields and reporting a bad field.
#include "dialogs/field_input.h"

#include "gem/numread.h"
#include "services/services.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

const char* const CoordinateNames[3][3] = {{"X of point 1", "Y of point 1", "Z of point 1"},
                                           {"X of point 2", "Y of point 2", "Z of point 2"},
                                           {"X of point 3", "Y of point 3", "Z of point 3"}};

void ReportFieldError(MessageService& messages, QWidget* field, const std::string& message, QDialog* form) {
    if (field) field->setFocus();
    messages.Beep();
    messages.ShowError(message);
    if (form) form->setResult(0);
}

namespace {
template <typename Number>
std::optional<Number> Checked(std::optional<Number> value, MessageService& messages, QWidget* field,
                              const std::string& message) {
    if (!value) ReportFieldError(messages, field, message);
    return value;
}
} // namespace

std::optional<Real> ReadRealField(MessageService& messages, QLineEdit* field, const std::string& message) {
    return Checked(ReadReal(field->text().toStdString()), messages, field, message);
}

std::optional<Real> ReadRealField(MessageService& messages, QComboBox* field, const std::string& message) {
    return Checked(ReadReal(field->currentText().toStdString()), messages, field, message);
}

std::optional<std::int32_t> ReadIntegerField(MessageService& messages, QLineEdit* field,
                                             const std::string& message) {
    return Checked(ReadInteger(field->text().toStdString()), messages, field, message);
}
