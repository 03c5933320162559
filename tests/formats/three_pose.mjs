// Poses an exported .glb in three.js on the CPU: argv: the file, then a JSON
// list of [clip, seconds]. Prints, per request, every skinned vertex as
// [rest x, y, z, posed x, y, z].
import { readFileSync } from 'fs';
import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';

const bytes = readFileSync(process.argv[2]);
const data = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
const gltf = await new Promise((done, fail) => new GLTFLoader().parse(data, '', done, fail));
const meshes = [];
gltf.scene.traverse((o) => { if (o.isSkinnedMesh) meshes.push(o); });
const out = [];
for (const [name, seconds] of JSON.parse(process.argv[3])) {
  const clip = gltf.animations.find((c) => c.name === name);
  const mixer = new THREE.AnimationMixer(gltf.scene);
  const action = mixer.clipAction(clip);
  action.setLoop(THREE.LoopOnce, 1);
  action.clampWhenFinished = true;
  action.play();
  mixer.setTime(seconds);
  gltf.scene.updateMatrixWorld(true);
  const points = [];
  for (const mesh of meshes) {
    const position = mesh.geometry.attributes.position;
    for (let i = 0; i < position.count; ++i) {
      const rest = new THREE.Vector3().fromBufferAttribute(position, i);
      const posed = rest.clone();
      mesh.applyBoneTransform(i, posed);
      posed.applyMatrix4(mesh.matrixWorld);
      points.push([rest.x, rest.y, rest.z, posed.x, posed.y, posed.z]);
    }
  }
  mixer.stopAllAction();
  out.push(points);
}
console.log(JSON.stringify(out));
