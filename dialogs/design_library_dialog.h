// File > Design library ...: a browser of the design library. A thumbnail grid of the designs that
// match the filters (the library's query language, a shape and a sort key), the figures of the one
// selected, indexing of a folder in the background (with progress, cancellable without harm), and
// Open (double-click), which closes the dialog with the design's file and half chosen.
#pragma once

#include "library/design_library.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

// The design chosen to open: its file and the half ('c' crown, 'p' pavilion; an .lfx opens as it is).
struct ChosenDesign {
    std::string Path;
    char Half = 'c';
};

class TDesignLibraryDialog : public QDialog {
    Q_OBJECT

  public:
    TDesignLibraryDialog(QWidget* parent, const std::string& database);
    ~TDesignLibraryDialog() override;

    // Indexes the folder in the background; the grid follows when it is done.
    void StartIndexing(const QString& folder);
    bool Indexing() const { return indexer_.joinable(); }
    // Searches again with the filters as they are; the number of designs shown.
    int Refresh();
    // What Open chose; empty until then.
    std::optional<ChosenDesign> Chosen;

    QLineEdit* FolderEdit = nullptr;
    QLineEdit* QueryEdit = nullptr;
    QComboBox* ShapeBox = nullptr;
    QComboBox* SortBox = nullptr;
    QListWidget* Grid = nullptr;
    QLabel* Figures = nullptr;
    QLabel* Status = nullptr;
    QProgressBar* Progress = nullptr;
    QPushButton *IndexButton = nullptr, *CancelButton = nullptr, *OpenCrownButton = nullptr,
                *OpenPavilionButton = nullptr;

  private:
    void BuildLayout();
    void ShowSelected();
    void OpenSelected(char half);
    void FinishIndexing(const QString& report);
    const DesignRecord* Selected() const;

    std::string database_;
    std::unique_ptr<DesignLibrary> library_;
    std::vector<DesignRecord> shown_;
    std::thread indexer_;
    std::atomic<bool> cancel_ = false;
};
