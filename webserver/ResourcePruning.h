#pragma once

class IPrunableNewsletter;
namespace ndb
{
class CNdbNewsletter;
}

// Clean-up after the layout editor stored the edited body: resources and effect pipelines that
// nothing refers to any more are deleted. False, nothing deleted, when the body cannot be parsed.
bool PruneUnusedResources(IPrunableNewsletter& newsletter);
// Then the project images that no remaining pipeline uses. Always true.
bool PruneUnusedPipelineImages(IPrunableNewsletter& newsletter);

bool PruneUnusedResources(ndb::CNdbNewsletter& newsletter);
bool PruneUnusedPipelineImages(ndb::CNdbNewsletter& newsletter);
