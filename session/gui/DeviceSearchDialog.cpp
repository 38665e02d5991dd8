#include "session/gui/DeviceSearchDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "session/gui/ConfirmAuthorityDialog.h"
#include "gui/StringText.h"

namespace session {

namespace {

constexpr unsigned kFirstColumnText = 3022;  // 3022-3026: the list's column titles
constexpr int kColumnWidths[kSearchColumnCount] = {120, 130, 60, 100, 90};
constexpr unsigned kSearchWords = 3028;      // "searching" and "search stopped", one per line
constexpr int kMaxWebPort = 9999;

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

// Hands the search's reports, made on its worker thread, to the dialog's thread.
class DeviceSearchDialog::Port : public DeviceSearchPort {
public:
    explicit Port(DeviceSearchDialog* dialog) : m_dialog(dialog) {}

    void ShowMessageBox(unsigned id) override {
        Post([d = m_dialog, id] { d->ShowMessageId(id); });
    }
    void ShowMessageText(const std::string& text) override {
        Post([d = m_dialog, text] { d->ShowMessage(FromStd(text)); });
    }
    void DeviceReplied(const SearchRecord& reply) override {
        Post([d = m_dialog, reply] { d->OnDeviceReplied(reply); });
    }
    void SearchStopped() override {
        Post([d = m_dialog] { d->OnSearchStopped(); });
    }
    void ExchangeFinished(const ExchangeOutcome& outcome) override {
        Post([d = m_dialog, outcome] { d->OnExchangeFinished(outcome); });
    }

private:
    template <class F>
    void Post(F call) {
        // The dialog as context: a call still queued when it goes is dropped.
        QMetaObject::invokeMethod(m_dialog, std::move(call), Qt::QueuedConnection);
    }

    DeviceSearchDialog* m_dialog;
};

DeviceSearchDialog::DeviceSearchDialog(QWidget* parent, DeviceSearchOptions options)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_options(std::move(options)),
      m_form(m_options.lastMac1, m_options.lastMac2),
      m_list(new QTreeWidget(this)),
      m_editIpAddress(new QLineEdit(this)),
      m_editMacAddress(new QLineEdit(this)),
      m_editSubnetMask(new QLineEdit(this)),
      m_editGateway(new QLineEdit(this)),
      m_editDnsServer(new QLineEdit(this)),
      m_editWebPort(new QLineEdit(this)),
      m_btnSearchAgain(new QPushButton(QStringLiteral("SZUKAJ PONOWNIE"), this)),
      m_btnApply(new QPushButton(QStringLiteral("ZASTOSUJ"), this)),
      m_btnDefaults(new QPushButton(QStringLiteral("USTAW DOMYŚLNE"), this)),
      m_btnOk(new QPushButton(QStringLiteral("OK"), this)),
      m_timer(new QTimer(this)),
      m_port(std::make_unique<Port>(this)),
      m_search(std::make_unique<DeviceSearch>(*m_port, m_options.endpoints, m_options.timing)) {
    setWindowTitle(QStringLiteral("WYSZUKIWANIE"));

    m_list->setObjectName(QStringLiteral("deviceList"));
    m_list->setColumnCount(static_cast<int>(kSearchColumnCount));
    QStringList titles;
    for (unsigned i = 0; i < kSearchColumnCount; ++i)
        titles << LoadText(kFirstColumnText + i);
    m_list->setHeaderLabels(titles);
    for (int i = 0; i < static_cast<int>(kSearchColumnCount); ++i)
        m_list->setColumnWidth(i, kColumnWidths[i]);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setMinimumWidth(520);

    m_editIpAddress->setObjectName(QStringLiteral("ipAddress"));
    m_editMacAddress->setObjectName(QStringLiteral("macAddress"));
    m_editSubnetMask->setObjectName(QStringLiteral("subnetMask"));
    m_editGateway->setObjectName(QStringLiteral("gateway"));
    m_editDnsServer->setObjectName(QStringLiteral("dnsServer"));
    m_editWebPort->setObjectName(QStringLiteral("webPort"));
    m_editIpAddress->setMaxLength(16);
    m_editMacAddress->setMaxLength(18);
    m_editMacAddress->setReadOnly(true);
    m_editWebPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_editWebPort));
    m_editWebPort->setText(QStringLiteral("0"));

    m_btnSearchAgain->setObjectName(QStringLiteral("searchAgain"));
    m_btnApply->setObjectName(QStringLiteral("apply"));
    m_btnDefaults->setObjectName(QStringLiteral("setDefaults"));
    m_btnOk->setObjectName(QStringLiteral("ok"));
    m_btnOk->setDefault(true);

    auto* listGroup = new QGroupBox(QStringLiteral("Lista urządzeń"), this);
    auto* listLayout = new QVBoxLayout(listGroup);
    listLayout->addWidget(m_list);

    auto* detailGroup = new QGroupBox(QStringLiteral("Informacje szczegółowe"), this);
    auto* details = new QGridLayout(detailGroup);
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"Adres IP :", m_editIpAddress},       {"Adres Mac :", m_editMacAddress},
        {"Maska podsieci :", m_editSubnetMask}, {"Brama sieciowa :", m_editGateway},
        {"Server DNS :", m_editDnsServer},     {"Port Web :", m_editWebPort},
    };
    int row = 0;
    for (const auto& [label, edit] : rows) {
        details->addWidget(new QLabel(QString::fromUtf8(label), detailGroup), row / 2, (row % 2) * 2);
        details->addWidget(edit, row / 2, (row % 2) * 2 + 1);
        ++row;
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btnSearchAgain);
    buttons->addWidget(m_btnApply);
    buttons->addWidget(m_btnDefaults);
    buttons->addStretch();
    buttons->addWidget(m_btnOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listGroup, 1);
    layout->addWidget(detailGroup);
    layout->addLayout(buttons);

    connect(m_btnSearchAgain, &QPushButton::clicked, this, &DeviceSearchDialog::OnSearchAgain);
    connect(m_btnApply, &QPushButton::clicked, this, [this] { OnNetworkChange(NetworkChange::SetIp); });
    connect(m_btnDefaults, &QPushButton::clicked, this, [this] { OnNetworkChange(NetworkChange::Reset); });
    connect(m_btnOk, &QPushButton::clicked, this, &DeviceSearchDialog::accept);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &DeviceSearchDialog::OnItemChanged);
    connect(m_timer, &QTimer::timeout, this, &DeviceSearchDialog::OnTimer);
    m_timer->setInterval(static_cast<int>(m_options.timing.searchAnimationPeriod.count()));

    m_showMessage = [this](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, this);
        box.exec();
    };
    m_askCredentials = [this]() -> std::optional<SearchCredentials> {
        ConfirmAuthorityDialog confirm(this);
        if (confirm.exec() != QDialog::Accepted)
            return std::nullopt;
        return SearchCredentials{confirm.UserName(), confirm.Password()};
    };
    SetSearching();
}

DeviceSearchDialog::~DeviceSearchDialog() {
    m_search->Stop();
}

void DeviceSearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_bStarted) {
        m_bStarted = true;
        StartSearch();
    }
}

QString DeviceSearchDialog::SearchWord(int which) {
    const QStringList words = LoadText(kSearchWords).split(QLatin1Char('\n'));
    return which < words.size() ? words[which] : QString();
}

void DeviceSearchDialog::StartSearch() {
    m_nAnimationStep = 0;
    SetSearching();
    m_timer->start();
    if (!m_search->StartSearch()) {
        ShowMessageId(kSearchCannotListenMessage);
        OnSearchStopped();
    }
}

void DeviceSearchDialog::OnSearchAgain() {
    m_list->clear();
    m_form.ClearResults();
    StartSearch();
}

void DeviceSearchDialog::OnTimer() {
    const int dots = m_nAnimationStep % 4 + 1;
    setWindowTitle(QStringLiteral(" %1 %2").arg(SearchWord(0), QString(dots, QLatin1Char('.'))));
    ++m_nAnimationStep;
}

void DeviceSearchDialog::OnDeviceReplied(const SearchRecord& reply) {
    const SearchResultNode& node = m_form.AddReply(reply);
    auto* item = new QTreeWidgetItem;
    const auto texts = SearchRowTexts(node);
    for (std::size_t i = 0; i < texts.size(); ++i)
        item->setText(static_cast<int>(i), FromStd(texts[i]));
    m_list->insertTopLevelItem(0, item);
    // The latest reply shows in the (still disabled) fields while the search runs.
    DeviceNetworkFields shown;
    shown.ipAddress = node.ipAddress;
    shown.macAddress = node.macAddress;
    shown.subnetMask = node.subnetMask;
    shown.gateway = node.gateway;
    shown.dnsServer = node.dnsServer;
    shown.webPort = static_cast<int>(node.webPort);
    WriteFields(shown);
}

void DeviceSearchDialog::OnSearchStopped() {
    m_timer->stop();
    setWindowTitle(SearchWord(1));
    SetIdle();
}

void DeviceSearchDialog::OnItemChanged() {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;  // the last selection stays in force
    if (const unsigned message = m_form.SelectRow(m_list->indexOfTopLevelItem(selected.first()))) {
        ShowMessageId(message);
        return;
    }
    WriteFields(m_form.Fields());
    EnableEdits(true);
}

void DeviceSearchDialog::OnNetworkChange(NetworkChange kind) {
    if (const unsigned message = m_form.CheckSelection())
        return ShowMessageId(message);
    // A change sends what the operator typed; a reset the fields as last read.
    if (kind == NetworkChange::SetIp && !ReadFields())
        return;
    if (const unsigned message = m_form.CheckTarget())
        return ShowMessageId(message);
    const std::optional<SearchCredentials> credentials = m_askCredentials();
    if (!credentials)
        return;
    if (const unsigned message = m_form.AcceptCredentials(kind, credentials->userName, credentials->password))
        return ShowMessageId(message);
    SetExchanging();
    if (!m_search->StartExchange(kind, m_form.ChangeRequest(kind))) {
        ShowMessageId(ExchangeMessage({kind, ExchangeOutcome::Stage::NoSocket, 0}));
        SetIdle();
    }
}

void DeviceSearchDialog::OnExchangeFinished(const ExchangeOutcome& outcome) {
    const int index = m_form.SelectedResult();
    if (m_form.ApplyOutcome(outcome)) {
        if (QTreeWidgetItem* row = m_list->topLevelItem(m_form.Results().Count() - 1 - index)) {
            const auto texts = SearchRowTexts(*m_form.Results().Find(index));
            for (std::size_t i = 0; i < texts.size(); ++i)
                row->setText(static_cast<int>(i), FromStd(texts[i]));
        }
    }
    SetIdle();
}

void DeviceSearchDialog::SetSearching() {
    for (QWidget* w : {static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_btnSearchAgain),
                       static_cast<QWidget*>(m_btnApply), static_cast<QWidget*>(m_btnDefaults),
                       static_cast<QWidget*>(m_btnOk)})
        w->setEnabled(false);
    EnableEdits(false);
}

void DeviceSearchDialog::SetIdle() {
    for (QWidget* w : {static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_btnSearchAgain),
                       static_cast<QWidget*>(m_btnApply), static_cast<QWidget*>(m_btnDefaults),
                       static_cast<QWidget*>(m_btnOk)})
        w->setEnabled(true);
    EnableEdits(m_form.Results().Find(m_form.SelectedResult()) != nullptr);
}

void DeviceSearchDialog::SetExchanging() {
    // The exchange runs on the worker; nothing that reads the list or ends the
    // dialog is usable until its answer is in.
    SetSearching();
}

void DeviceSearchDialog::EnableEdits(bool enable) {
    for (QLineEdit* edit : {m_editIpAddress, m_editMacAddress, m_editSubnetMask, m_editGateway,
                            m_editDnsServer, m_editWebPort})
        edit->setEnabled(enable);
}

void DeviceSearchDialog::WriteFields(const DeviceNetworkFields& f) {
    m_editIpAddress->setText(FromStd(f.ipAddress));
    m_editMacAddress->setText(FromStd(f.macAddress));
    m_editSubnetMask->setText(FromStd(f.subnetMask));
    m_editGateway->setText(FromStd(f.gateway));
    m_editDnsServer->setText(FromStd(f.dnsServer));
    m_editWebPort->setText(QString::number(f.webPort));
}

bool DeviceSearchDialog::ReadFields() {
    DeviceNetworkFields& f = m_form.Fields();
    f.ipAddress = m_editIpAddress->text().toStdString();
    f.macAddress = m_editMacAddress->text().toStdString();
    f.subnetMask = m_editSubnetMask->text().toStdString();
    f.gateway = m_editGateway->text().toStdString();
    f.dnsServer = m_editDnsServer->text().toStdString();
    bool isNumber = false;
    const int port = m_editWebPort->text().toInt(&isNumber);
    if (!isNumber || port < 0 || port > kMaxWebPort) {
        ShowMessage(QStringLiteral("Please enter an integer between 0 and %1.").arg(kMaxWebPort));
        m_editWebPort->setFocus();
        return false;
    }
    f.webPort = port;
    return true;
}

void DeviceSearchDialog::ShowMessage(const QString& text) {
    m_showMessage(text);
}

void DeviceSearchDialog::ShowMessageId(unsigned id) {
    ShowMessage(LoadText(id));
}

void DeviceSearchDialog::accept() {
    if (!ReadFields())
        return;
    m_form.ChooseSelected();
    QDialog::accept();
}

void DeviceSearchDialog::reject() {}

void DeviceSearchDialog::done(int result) {
    m_search->Stop();
    QDialog::done(result);
}

DeviceSearchChoice RunDeviceSearch(QWidget* parent, const DeviceSearchOptions& options) {
    DeviceSearchDialog dialog(parent, options);
    dialog.exec();
    return dialog.Choice();
}

}  // namespace session
