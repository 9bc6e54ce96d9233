// Compiled by the layer checks (cmake/layers.cmake) against one layer's
// include directories: builds when that layer may include the header, and
// fails with "not found" when the header belongs to a higher layer.
#include LAYER_PROBE_HEADER
