#include "ReportDesign.h"

#include "ReportFile.h"
#include "ReportValidation.h"

#include <QFileInfo>
#include <QUndoCommand>

namespace fai {
namespace {

// Each step keeps the whole definition before and after it: a definition is small, and its
// texts and images are shared between the copies.
constexpr int kUndoSteps = 200;

ReportCatalog CatalogOf(const QString& code) {
    return ReportCatalog::Scan(CurrentReportFolders(), code);
}

bool SameTitle(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

}  // namespace

class DesignCommand : public QUndoCommand {
  public:
    DesignCommand(ReportDesign& design, const QString& text, DesignEdit after)
        : QUndoCommand(text),
          design_(design),
          before_{design.Definition(), design.Selection()},
          after_(std::move(after)) {}

    void undo() override { design_.Restore(before_.definition, before_.selection); }
    void redo() override { design_.Restore(after_.definition, after_.selection); }

  private:
    ReportDesign& design_;
    DesignEdit before_;
    DesignEdit after_;
};

ReportDesign::ReportDesign(const QString& path, QObject* parent)
    : QObject(parent),
      definition_(ReadReportFile(path)),
      savedDefinition_(definition_),
      path_(QFileInfo(path).absoluteFilePath()) {
    undo_.setUndoLimit(kUndoSteps);
    const ReportCatalog catalog = CatalogOf(definition_.code);
    const int index = catalog.IndexOfPath(path_);
    if (index >= 0) origin_ = catalog.Entries()[std::size_t(index)].origin;
}

void ReportDesign::Select(const DesignSelection& selection) {
    if (selection == selection_) return;
    selection_ = selection;
    emit SelectionChanged();
}

void ReportDesign::Apply(const QString& text, const DesignEdit& edit) {
    if (edit.definition == definition_) {
        Select(edit.selection);
        return;
    }
    ValidateReport(edit.definition);
    undo_.push(new DesignCommand(*this, text, edit));
}

void ReportDesign::Restore(const ReportDefinition& definition, const DesignSelection& selection) {
    definition_ = definition;
    selection_ = selection;
    emit DefinitionChanged();
    emit SelectionChanged();
}

void ReportDesign::Save() {
    if (!SameTitle(definition_.title, savedDefinition_.title))
        CheckNewReportTitle(CatalogOf(definition_.code), definition_.title);
    // Unchanged, the file already holds the definition, byte for byte as it was written.
    if (!(definition_ == savedDefinition_) || !QFileInfo::exists(path_))
        SaveReportFile(definition_, path_);
    MarkSaved();
}

QString ReportDesign::ProposedCopyTitle() const {
    const ReportCatalog catalog = CatalogOf(definition_.code);
    const QString title = definition_.title.trimmed();
    if (!catalog.HasTitle(title)) return title;
    QString proposed = QStringLiteral("%1 (cópia)").arg(title);
    for (int n = 2; catalog.HasTitle(proposed); ++n)
        proposed = QStringLiteral("%1 (cópia %2)").arg(title).arg(n);
    return proposed;
}

void ReportDesign::SaveUserCopy(const QString& title) {
    path_ = SaveReportCopy(CatalogOf(definition_.code), definition_, title,
                           CurrentReportFolders().user);
    origin_ = ReportOrigin::User;
    DesignEdit titled{definition_, selection_};
    titled.definition.title = title.trimmed();
    Apply(QStringLiteral("Título da cópia"), titled);
    MarkSaved();
}

void ReportDesign::MarkSaved() {
    savedDefinition_ = definition_;
    saved_ = true;
    undo_.setClean();
    emit FileChanged();
}

}  // namespace fai
