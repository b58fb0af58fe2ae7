// UserInteraction of the desktop: QMessageBox, QFileDialog, QInputDialog and Qt dialogs for
// the dialog models. A model is shown by the dialog registered for its DialogName(); a model
// without one is refused with a message.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/ui/OTonePlayer.h"
#include "platform/UserInteraction.h"

class QDialog;

class OUserInteraction_Qt : public UserInteraction {
  public:
    // Makes the Qt dialog of a model (parented to the given window).
    using DialogFactory = std::function<QDialog*(ODialogModel& model, QWidget* parent)>;

    void SetParentWindow(QWidget* parent) { m_parent = parent; }
    void RegisterDialog(const std::string& dialogName, DialogFactory factory);
    // Registers Window(Model&, QWidget*) as the dialog of the model named dialogName.
    template <class Model, class Window>
    void RegisterDialogWindow(const std::string& dialogName) {
        RegisterDialog(dialogName, [](ODialogModel& model, QWidget* parent) -> QDialog* {
            return new Window(static_cast<Model&>(model), parent);
        });
    }
    // The Qt dialog registered for a model; nullptr when there is none.
    QDialog* CreateDialog(ODialogModel& model, QWidget* parent) const;

  protected:
    MsgResult ShowMessage(const OMessageRequest& request) override;
    MsgResult ShowMessageWithCheckMark(const OMessageRequest& request, std::string_view checkText,
                                       bool& checked) override;
    FileDialogResult ShowFileOpen(const FileDialogRequest& request) override;
    FileDialogResult ShowFileSave(const FileDialogRequest& request) override;
    bool AskNumber(std::string_view title, std::string_view prompt, double& value, double min,
                   double max) override;
    bool AskInt(std::string_view title, std::string_view prompt, int& value, int min,
                int max) override;
    bool AskText(std::string_view title, std::string_view prompt, std::string& text) override;
    MsgResult ShowList(const OListRequest& request) override;
    bool AskChoice(const OListRequest& request, int& index) override;
    bool bShowDialog(ODialogModel& model) override;
    void ShowWaitCursor(bool shown) override;
    bool PlayBeep(int frequencyHz, int durationMs) override;
    bool PlayMessageBeep(MsgIcon icon) override;

  private:
    FileDialogResult RunFileDialog(const FileDialogRequest& request, bool save);

    QPointer<QWidget> m_parent;
    std::map<std::string, DialogFactory> m_factories;
    OTonePlayer m_tone;
};

// Qt's filter form of a core file filter ("Name (*.a;*.b)" -> "Name (*.a *.b)").
QString QtFileFilter(const std::string& filter);
