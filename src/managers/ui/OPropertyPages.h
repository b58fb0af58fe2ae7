// The one property-page builder of the program: it renders any OPropertyList (tools and data
// outputs of both families) as pages of labelled fields — a line edit for numbers and texts,
// a drop-down list for choices, a check box for flags — with the unit beside the field, the
// range as a hint and the help line below it. Every field carries the property's name as its
// object name. What the user types goes to an OPropertyPageModel, which parses and checks it
// when the pages are applied; the owner applies the collected values through the object.
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "managers/OPropertyPageModel.h"

class QWidget;

class OPropertyPages : public QObject {
    Q_OBJECT

  public:
    explicit OPropertyPages(OPropertyList list, QObject* parent = nullptr);

    // Makes the pages, titled, in the order of their titles; the caller owns them (e.g. a
    // tab widget). Called once.
    std::vector<std::pair<QString, QWidget*>> BuildPages(QWidget* parent);

    const OPropertyPageModel& Model() const { return m_model; }
    bool bIsEdited() const { return m_model.bIsEdited(); }
    // The values of the edited fields. On a refusal the field gets the focus with its text
    // selected, `error` says why and `failedName` names the property.
    bool bCollect(OPropertyValues& values, std::string& error, std::string& failedName);
    // The field of a property; nullptr when there is none.
    QWidget* Field(const std::string& name) const;

  signals:
    // A field changed (typed, chosen or ticked).
    void edited();
    // Enter was pressed in a field.
    void applyRequested();

  private:
    QWidget* MakeField(const OProperty& property, QWidget* parent);

    OPropertyPageModel m_model;
    std::map<std::string, QWidget*> m_fields;
};
