#include "ui/texts.h"

#include "model/text_table.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <memory>

namespace zemrak::ui {
namespace {

std::unique_ptr<TextTable>& loaded_table() {
    static std::unique_ptr<TextTable> loaded = std::make_unique<TextTable>();
    return loaded;
}

void apply_one(QWidget* widget) {
    const QVariant key = widget->property("textkey");
    if (key.isValid()) {
        const QString text = Texts::text(key.toString());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(text);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setPlaceholderText(text);
        } else {
            widget->setWindowTitle(text);
        }
    }
    const QVariant tip = widget->property("tipkey");
    if (tip.isValid()) {
        widget->setToolTip(Texts::text(tip.toString()));
    }
}

} // namespace

void Texts::load(const std::filesystem::path& lan_xml) {
    loaded_table() = std::make_unique<TextTable>(TextTable::load(lan_xml));
}

void Texts::use(const TextTable& loaded) {
    loaded_table() = std::make_unique<TextTable>(loaded);
}

QString Texts::text(std::string_view key) {
    const std::string_view value = loaded_table()->text(key);
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

QString Texts::text(const QString& key) {
    return text(std::string_view(key.toStdString()));
}

const TextTable& Texts::table() {
    return *loaded_table();
}

void Texts::apply(QWidget* root) {
    apply_one(root);
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children) {
        apply_one(child);
    }
}

} // namespace zemrak::ui
