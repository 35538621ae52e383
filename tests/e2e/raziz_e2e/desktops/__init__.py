"""Desktop adapters: one module a desktop."""
