#include "tools/system/shader_cache.h"

// Windows drivers keep their caches their own way, with the logs.
PrivateShaderCache::PrivateShaderCache() = default;

PrivateShaderCache::~PrivateShaderCache() = default;
