#pragma once

// A separate shared library that reaches the module's singletons on its own, standing in for a host module.
const void* singletonProbeHub();
const void* singletonProbeRelationStore();
