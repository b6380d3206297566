#pragma once
#include <QDialog>
#include <QStringList>
#include <memory>
#include <vector>

#include "report/column.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

// The setup dialog of a statistics view: its columns (order, headings, types, widths on screen
// and in files), the highlighted addresses and the report templates. It works on copies; the
// view takes the results over only after OK.
class TSLSetupForm : public QDialog
{
    Q_OBJECT
public:
    TSLSetupForm(const QString& caption, const QStringList& typeNames, QWidget* parent = nullptr);

    void SetColumns(const std::vector<const tarvex::TColumn*>& columns);
    // The columns in the list's final order.
    std::vector<tarvex::TColumn> Columns() const;
    void SetAddressLines(const QStringList& lines);
    QStringList AddressLines() const;
    void SetTemplates(const QString& header, const QString& footer);
    QString HeaderFile() const;
    QString FooterFile() const;

    // True when a column was added, removed, moved or changed.
    bool Modified = false;

    QTabWidget* Pages = nullptr;
    QListWidget* LbxColumns = nullptr;
    QLineEdit* EdtHeading = nullptr;
    QComboBox* CmbType = nullptr;
    QCheckBox* ChkScreen = nullptr;
    QLineEdit* EdtScrWidth = nullptr;
    QCheckBox* ChkFile = nullptr;
    QLineEdit* EdtFileWidth = nullptr;
    QPushButton* BtnAdd = nullptr;
    QPushButton* BtnRemove = nullptr;
    QPlainTextEdit* EdtHighlight = nullptr;
    QLineEdit* EdtHeader = nullptr;
    QLineEdit* EdtFooter = nullptr;
    QToolButton* BtnHeader = nullptr;
    QToolButton* BtnFooter = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tarvex::TColumn* Selected() const;
    void ShowSelected();
    void LbxColumnsSelect();
    void EdtHeadingChange(const QString& text);
    void CmbTypeSelect(int index);
    void WidthChange(QLineEdit* edit, const QString& text);
    void BtnAddClick();
    void BtnRemoveClick();
    void ItemsMoved();
    void Browse(QLineEdit* edit, const QString& title);
    QString ItemText(int pos, const tarvex::TColumn& c) const;

    QStringList TypeNames;
    // Every column the dialog has held, by the id its list item carries; removed ones stay
    // here unused until the dialog goes.
    std::vector<std::unique_ptr<tarvex::TColumn>> Held;
};
