// Replaced by the core sources.
