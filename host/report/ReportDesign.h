#pragma once

#include "DesignEdits.h"
#include "ReportCatalog.h"
#include "ReportDefinition.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <optional>

namespace fai {

// A definition open in the designer: what it is now, what is selected, the steps that undo
// and redo take back and forth, and the file it came from. Every edit leaves a definition
// that passes the checks, so that what the designer shows can always be saved and run.
//
// Saving writes the user's own file in place. A definition installed with the program (or
// shared by the site, or found outside the report folders) is never written over: saving it
// makes a copy under a new title in the user's folder, and from then on the design is that
// copy. A definition saved without changes is not rewritten, so its file stays as it was.
class ReportDesign : public QObject {
    Q_OBJECT
  public:
    // Reads the file; EReportFileError when it cannot be used.
    explicit ReportDesign(const QString& path, QObject* parent = nullptr);

    const ReportDefinition& Definition() const { return definition_; }
    const QString& Path() const { return path_; }
    // Where the file lies among the report folders; nothing when outside them.
    std::optional<ReportOrigin> Origin() const { return origin_; }
    bool SavesInPlace() const { return origin_ == ReportOrigin::User; }
    bool Modified() const { return !undo_.isClean(); }
    // Whether the design has been written to a file since it was opened.
    bool Saved() const { return saved_; }
    QUndoStack& UndoStack() { return undo_; }

    const DesignSelection& Selection() const { return selection_; }
    void Select(const DesignSelection& selection);

    // Makes the edit one step of undo, named `text` ("Mover", "Excluir"...). Refused with
    // EError, naming the place and the reason, when its definition does not pass the checks;
    // the design then stays as it was. An edit that changes nothing only selects.
    void Apply(const QString& text, const DesignEdit& edit);

    // Writes the user's own file. A new title must not be another definition's.
    void Save();
    // A title for the user's copy that no definition of the code has yet.
    QString ProposedCopyTitle() const;
    // Writes the user's copy under the title (refused when empty or taken), and goes on as
    // that copy.
    void SaveUserCopy(const QString& title);

  signals:
    void DefinitionChanged();
    void SelectionChanged();
    // The file or the title changed: saved, or saved as the user's copy.
    void FileChanged();

  private:
    friend class DesignCommand;
    void Restore(const ReportDefinition& definition, const DesignSelection& selection);
    void MarkSaved();

    ReportDefinition definition_;
    ReportDefinition savedDefinition_;
    DesignSelection selection_;
    QString path_;
    std::optional<ReportOrigin> origin_;
    bool saved_ = false;
    QUndoStack undo_;
};

}  // namespace fai
