// What every view window of the document offers the main frame: a full update from the
// document, handing over edits not yet taken into the project, and the view's own commands.
// The main frame routes a command to the view of the current frame first (the pane with the
// focus in a split frame); what the view does not take goes to the application and the
// document.
#pragma once

#include <optional>

#include "document/ViewHost.h"
#include "platform/CommandState.h"

class OPrintable;
class OViewWidget;

// Where a view sends the commands of its own toolbar, context menu and keys: to the view
// itself first, then to the application and the document (the main frame).
class OCommandRouter {
  public:
    virtual ~OCommandRouter() = default;
    virtual void ExecuteCommand(int commandId, OViewWidget* from) = 0;
    virtual OCommandState CommandState(int commandId, OViewWidget* from) = 0;
    // A command for the open view of another kind (the tool manager hands its tool commands
    // to the part contour view): false, and no state, when that view is not open or does not
    // execute the command.
    virtual bool bExecuteInView(ViewKind /*kind*/, int /*commandId*/) { return false; }
    virtual std::optional<OCommandState> StateInView(ViewKind /*kind*/, int /*commandId*/) {
        return std::nullopt;
    }
};

class OViewWidget {
  public:
    virtual ~OViewWidget() = default;
    virtual void OnUpdate() = 0;
    virtual void CommitPendingEdits() {}

    // The state of a command the view executes itself; nothing for other commands.
    virtual std::optional<OCommandState> ViewCommandState(int /*commandId*/) {
        return std::nullopt;
    }
    // Executes a command of the view; false when the view does not execute it.
    virtual bool bOnViewCommand(int /*commandId*/) { return false; }

    // What the view prints (print, print preview, PDF); nullptr when it prints nothing.
    virtual OPrintable* opGetPrintable() { return nullptr; }

    // Set by the frame that shows the view.
    void SetCommandRouter(OCommandRouter* router) { m_router = router; }

  protected:
    // Runs a command as if chosen from the main menu with this view current.
    void RouteCommand(int commandId) {
        if (m_router) m_router->ExecuteCommand(commandId, this);
    }
    OCommandState RoutedState(int commandId) {
        return m_router ? m_router->CommandState(commandId, this) : OCommandState{};
    }
    bool bRouteToView(ViewKind kind, int commandId) {
        return m_router && m_router->bExecuteInView(kind, commandId);
    }
    OCommandState RoutedStateInView(ViewKind kind, int commandId) {
        const auto state = m_router ? m_router->StateInView(kind, commandId) : std::nullopt;
        return state ? *state : OCommandState{};
    }

  private:
    OCommandRouter* m_router = nullptr;
};
