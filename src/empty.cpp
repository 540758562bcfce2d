// Keeps a library with no sources yet linkable.
