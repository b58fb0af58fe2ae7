#include "document/OHeadlessDocument.h"

#include "platform/OUserInteraction_Console.h"

OHeadlessDocument::OHeadlessDocument(Settings& settings, UserInteraction* ui,
                                     OHeadlessOptions options)
    : m_ownUi(ui ? nullptr : std::make_unique<OUserInteraction_Console>()), m_recent(settings) {
    UserInteraction& interaction = ui ? *ui : *m_ownUi;
    ODocServices services{settings, interaction, m_queue, m_views, m_programs};
    services.companionUser = &m_companionUser;
    services.companionMachine = &m_companionMachine;
    services.progress = &m_progress;
    services.clipboard = &m_clipboard;
    services.recentFiles = &m_recent;
    services.statusBar = &m_statusBar;
    services.clock = options.clock;
    services.hasApplication = options.withApplication;
    m_doc = std::make_unique<ODoc>(std::move(services));
    m_doc->OnNewDocument();
    m_doc->SetBusy(0);
}

OHeadlessDocument::~OHeadlessDocument() {
    m_doc.reset();
}
