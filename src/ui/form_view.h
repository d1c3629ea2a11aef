#pragma once

#include "app/services.h"
#include "app/window.h"
#include "ui/blueprint.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

class QMenuBar;
class QPushButton;

namespace kelvane {

class FocusRing;

// Shows any window of the program from its declaration: a widget per control at its declared
// place, the window's menu bar above them, and the blueprint picture behind. The widgets' state
// changes (whoever makes them: mouse, keyboard or assistive technology) go to the control
// models; the models' change notices update the widgets. Nothing here knows a particular window.
//
// The declared places are the layout at a reference font. With a larger font the view scales
// them, and the window, by the ratio of the font's letters to the reference's, so that a larger
// desktop font makes a larger window rather than cut captions.
class FormView : public QDialog
{
    Q_OBJECT

public:
    // The menu bar's height at the reference font; the controls' area below it is the window's
    // client size.
    static constexpr int MenuBarHeight = 25;

    FormView(Window &window, Services &services, QWidget *parent = nullptr);
    ~FormView() override;

    // The window shown; no longer valid after detach().
    Window &model() const { return m_window; }
    // Ends all traffic with the window's controls, for a window that is destroyed before its
    // view: afterwards the view neither listens to nor calls the models.
    void detach();
    bool isDetached() const { return m_detached; }

Q_SIGNALS:
    // The user closed the window through its title bar, or pressed Escape in a box.
    void closeRequested();

public Q_SLOTS:
    // Escape never dismisses a window behind the models' back; see keyPressEvent().
    void reject() override {}

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // A control's widget, where it is declared in the window's coordinates, and its caption;
    // `origin` is the declared place of the frame the widget stands in, empty for the window.
    struct Placement
    {
        QWidget *widget;
        Rect place;
        Rect origin;
        QString caption;
    };

    void layOut();
    // Breaks the captions of buttons and check boxes to fit their places at a scale, and tells
    // whether every control then shows all it has to show.
    bool fitEverything(qreal scale);
    void buildMenu(QMenuBar &bar);
    void addMenuItems(QWidget &into, const std::vector<MenuItem> &items);
    QWidget *createWidget(Control &control, QWidget &parent);
    QWidget *bindLabel(Label &label, QWidget &parent);
    QWidget *bindGroupBox(GroupBox &group, QWidget &parent);
    QWidget *bindCheckBox(CheckBox &box, QWidget &parent);
    QWidget *bindTextField(TextField &field, QWidget &parent);
    QWidget *bindButton(Button &button, QWidget &parent);
    QWidget *bindDriveList(DriveList &drives, QWidget &parent);
    QWidget *bindDirectoryList(DirectoryList &directories, QWidget &parent);
    QWidget *bindFileList(FileList &files, QWidget &parent);
    // Runs `refresh` now and on every change notice of the control, until detach().
    void follow(Control &control, std::function<void()> refresh);
    // Runs a user action on the models, then brings the control's widget up to date again in
    // case the model refused the change without a notice.
    void act(const std::function<void()> &refresh, const std::function<void()> &action);
    void report(const Outcome &outcome);
    // The widget of the first button that has the role, if any.
    QPushButton *buttonWith(bool (Button::*role)() const) const;

    Window &m_window;
    Services &m_services;
    // Kept, as the window may go before its view.
    Window::Size m_clientSize;
    QMenuBar *m_menuBar = nullptr;
    QWidget *m_form = nullptr;
    FocusRing *m_focusRing = nullptr;
    std::vector<Placement> m_placements;
    std::unique_ptr<Blueprint> m_background;
    bool m_layingOut = false;
    bool m_detached = false;

    struct Subscription
    {
        Control *control;
        int id;
    };
    std::vector<Subscription> m_subscriptions;
    // Cleared when the view stops listening; a notice that reaches a callback after that (the
    // models may outlive the view) finds it empty and does nothing.
    std::shared_ptr<FormView *> m_self;
};

} // namespace kelvane
