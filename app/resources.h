#pragma once

// Registers the embedded icons and translation catalogues. The library is static,
// so the program and the tests call this before using a resource path.
void quelmarInitResources();
