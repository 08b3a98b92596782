"""The processor's model name, printed first by the benchmarks so that figures from machines
of different processors can be told apart."""


def processor_name() -> str:
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as info:
            for line in info:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown processor"
