// The one Editor that the page functions work on. The page's start makes it;
// modules read it through this live binding.
export let editor = null;

export function setCurrentEditor(instance) {
  editor = instance;
}
