"""Sound-server adapters: one module a server."""
