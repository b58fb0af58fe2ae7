// Registers every tool kind and data-output kind this program implements with a part set,
// so that new tools are created from these prototypes and stored part sets decode into the
// right classes. Kinds without an implementation here are kept opaque by the tool lists.
// docs/tools.md and docs/tools-family2.md list the kinds.
#pragma once

class OType_ZRPartSet;

void RegisterToolAndDataOutputKinds(OType_ZRPartSet& partSet);
