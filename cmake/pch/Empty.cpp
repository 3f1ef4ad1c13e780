// The one source of the targets that only make a group's precompiled header
// (cmake/PrecompiledHeaders.cmake); the headers themselves are the others in this folder.
