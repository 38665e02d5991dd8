#pragma once
// "IP Address Book": the devices kept in IPRecord.dat in four side-by-side
// lists (user, address, port, comment) that move together; add, edit, delete
// and choose. The whole book is saved back however the dialog ends.
//
// The login dialog runs it and, on kChosen, puts Chosen()'s user, address and
// port into its fields; the password is never touched.

#include <QDialog>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "session/files/AddressBook.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace session {

class CAddressBookDialog : public QDialog {
    Q_OBJECT

public:
    // Results of exec().
    static constexpr int kChosen = 100;    // "WYBIERZ": Chosen() holds the entry
    static constexpr int kCancelled = 1;   // "ANULUJ"
    static constexpr int kClosed = 2;      // close box or Escape
    static constexpr int kUnusable = -1;   // the file cannot be read or is damaged

    explicit CAddressBookDialog(std::filesystem::path file = AddressBook::DefaultPath(),
                                QWidget* parent = nullptr);

    // Reads the file into the lists; false, after a message, when it cannot be
    // used (nothing will be written then). exec() calls it when needed.
    bool Open();
    int exec() override;
    void done(int result) override;
    void reject() override;

    const std::optional<IPRecord>& Chosen() const { return m_chosen; }
    const AddressBook& Book() const { return m_book; }

protected:
    // A plain message box; overridable so tests can see the texts.
    virtual void ShowMessageText(const QString& text);
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnAdd();
    void OnDelete();
    void OnEditButton();
    void OnOkButton();
    void OnSelect();
    void OnVScroll(int action);
    void OnSelchange(int row);

private:
    enum class EditMode : std::uint16_t { None = 0, Adding = 1, Editing = 2 };

    void ShowMessage(unsigned id);
    void ShowEditRow(bool show);
    void SetRow(int row, const IPRecord& entry, bool insert);
    void SelectRow(int row);
    void UpdateScrollBar(int position);
    int SelectedRow() const;
    AddressFields ReadFields() const;

    std::filesystem::path m_file;
    AddressBook m_book;
    bool m_opened = false;
    bool m_saved = false;
    std::optional<IPRecord> m_chosen;
    EditMode m_wEditMode = EditMode::None;
    int m_nSelected = -1;

    // Columns in order: user, address, port, comment.
    std::array<QListWidget*, 4> m_lists{};
    std::array<QLineEdit*, 4> m_edits{};
    QScrollBar* m_scrollBar = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_editButton = nullptr;
    QPushButton* m_selectButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

}  // namespace session
