#include "foundation/ClassPool.h"

#include <mutex>
#include <vector>

namespace s::thread {

namespace {

class ClassPoolRegistry {
public:
    void add(EasyPooler* pool)
    {
        std::lock_guard guard(m_lock);
        m_pools.push_back(pool);
    }

    ~ClassPoolRegistry()
    {
        std::vector<EasyPooler*> pools;
        {
            std::lock_guard guard(m_lock);
            pools.swap(m_pools);
        }
        for (auto it = pools.rbegin(); it != pools.rend(); ++it)
            (*it)->close();
    }

private:
    std::mutex m_lock;
    std::vector<EasyPooler*> m_pools;
};

ClassPoolRegistry& registry()
{
    static ClassPoolRegistry instance;
    return instance;
}

}  // namespace

EasyPooler& makeClassPool(int capacity, EasyPooler::CreateFunction create, EasyPooler::DestroyFunction destroy,
                          EasyPooler::ResetFunction reset)
{
    ClassPoolRegistry& pools = registry();
    auto* pool = new EasyPooler(capacity, create, destroy, reset);
    pools.add(pool);
    return *pool;
}

}  // namespace s::thread
